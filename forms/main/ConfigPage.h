#pragma once
// The configuration page: the two configuration buttons over the four lookup tables
// (bands, roles, occupations, assisting bodies), each in a tab with its navigator and grid.
// It asks before a band, role or occupation is deleted; bodies go without a question.
// Built into the main window's tb_config page; it lives and dies with that page.

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

class LookupTab;
class QPushButton;
class QTabWidget;
class TDBNavStrip;
class TDataSet;
class TExDBGrid;
class Tfrm_main;
class Tfrm_pass2;

class ConfigPage final : public QWidget {
    Q_OBJECT
public:
    enum Lookup { lkFascia, lkRuolo, lkOccupazione, lkEnti, kLookups };

    static QString fasciaDeleteQuestion();
    static QString ruoloDeleteQuestion();
    static QString occupazioneDeleteQuestion();

    explicit ConfigPage(Tfrm_main &window);
    ~ConfigPage() override;

    QPushButton *bt_tracciati() const { return m_btTracciati; }
    QPushButton *bt_password() const { return m_btPassword; }
    QPushButton *bt_archivio() const { return m_btArchivio; }
    QPushButton *bt_persone() const { return m_btPersone; }
    // Disables, with the reason as tool tip, what the signed-in person's role may not do:
    // an Operatore changes no lookup table, layout or person. Run whenever the page shows.
    void applyRole();
    QTabWidget *pc_tabelle() const { return m_tabs; }
    LookupTab *tab(Lookup lookup) const;
    TExDBGrid *grid(Lookup lookup) const;
    TDBNavStrip *navigator(Lookup lookup) const;

    // The window the password button shows. Without one, the page makes its own the first
    // time it is needed and keeps it.
    void setPasswordWindow(Tfrm_pass2 *dialog);
    Tfrm_pass2 *passwordWindow();

    // "Modifica i tracciati di stampa": the report designer binds it when it arrives.
    std::function<void()> OnTracciatiClick;
    // "Cambia archivio…": the program binds the first-start choice to it, which starts the
    // program again on the archive chosen.
    std::function<void()> OnArchivioClick;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildButtons();
    void buildTabs();
    void bindDeleteConfirmations();
    void releaseDeleteConfirmations();

    void FasciaBeforeDelete(TDataSet &dataSet);
    void RuoloBeforeDelete(TDataSet &dataSet);
    void OccupazioneBeforeDelete(TDataSet &dataSet);
    void confirmDelete(const QString &question);

    void bt_tracciatiClick();
    void bt_passwordClick();

    Tfrm_main &m_window;
    QPushButton *m_btTracciati = nullptr;
    QPushButton *m_btPassword = nullptr;
    QPushButton *m_btArchivio = nullptr;
    QPushButton *m_btPersone = nullptr;
    QTabWidget *m_tabs = nullptr;
    std::array<LookupTab *, kLookups> m_lookupTabs{};
    QPointer<Tfrm_pass2> m_passwordWindow;
};
