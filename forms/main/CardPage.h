#pragma once
// The card page `tb_scheda`: the current card's fields in their tab order, the household
// members in the member grid with its navigator, and the card's dataset handlers. Entering
// the member grid posts an edited card first, so that new members attach to it.

#include "forms/main/CardPageHandlers.h"

#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QDate;
class QLabel;
class QPushButton;
class QTabWidget;
class TDBCheckBox;
class TDBDateEdit;
class TDBEdit;
class TDBLookupCombo;
class TDBMemo;
class TDBNavStrip;
class TExDBGrid;

class CardPage final : public QWidget {
    Q_OBJECT
public:
    enum MemberColumn { colNome, colRuolo, colLavoro, colDataNascita, colEta };
    // Errors of the page's own handlers, which run inside Qt's event delivery.
    using ErrorReporter = std::function<void(const std::exception &)>;

    CardPage(TMainData &data, const TMessageBox &mymsg, QWidget *parent = nullptr);
    ~CardPage() override;

    void setErrorReporter(ErrorReporter reporter) { m_reportError = std::move(reporter); }
    CardPageHandlers &handlers() { return m_handlers; }

    // The controls, by the field they edit.
    TDBEdit *edit(const QString &fieldName) const;
    TDBDateEdit *ed_inizio() const { return m_inizio; }
    TDBDateEdit *ed_scadISEE() const { return m_scadISEE; }
    TDBLookupCombo *cb_fascia() const { return m_fascia; }
    // Number 1 to 6; null otherwise.
    TDBCheckBox *ck(int number) const;
    QTabWidget *memoTabs() const { return m_memoTabs; }
    TDBMemo *memo(int tab) const;
    TExDBGrid *grid_nucleo() const { return m_gridNucleo; }
    TDBNavStrip *DBNavStrip1() const { return m_navNucleo; }
    // Every focusable control in tab order.
    QList<QWidget *> tabOrder() const { return m_tabOrder; }

    // The pick lists of the member grid's role and occupation columns, wherever they stand.
    void setRolePickList(const QStringList &values);
    void setOccupationPickList(const QStringList &values);

    void grid_nucleoEnter();
    // "Storia della scheda" of the current card, `today` giving the removal's first date.
    void showHistory(const QDate &today);
    QPushButton *bt_storia() const { return m_history; }

private:
    QWidget *buildCardFields();
    QWidget *buildMembers();
    QWidget *buildBodiesAndNotes();
    TDBEdit *addEdit(QWidget *parent, const char *fieldName);
    void setPickList(const QString &fieldName, const QStringList &values);
    void chainTabOrder();

    TMainData &m_data;
    CardPageHandlers m_handlers;
    ErrorReporter m_reportError;

    std::vector<TDBEdit *> m_edits;
    TDBDateEdit *m_inizio = nullptr;
    TDBDateEdit *m_scadISEE = nullptr;
    TDBLookupCombo *m_fascia = nullptr;
    std::array<TDBCheckBox *, 6> m_ck{};
    TDBEdit *m_g6Altri = nullptr;
    QTabWidget *m_memoTabs = nullptr;
    std::array<TDBMemo *, 3> m_memos{};
    TExDBGrid *m_gridNucleo = nullptr;
    TDBNavStrip *m_navNucleo = nullptr;
    QPushButton *m_history = nullptr;
    QList<QWidget *> m_tabOrder;
};
