#pragma once
// The main window: the program's working surface. It owns the archive connection, the seven
// table datasets, the message box and the layout store for the whole run; creating it runs
// the start-up. A bar of command buttons at the top switches between three pages (card,
// list, configuration); the card navigator runs along the bottom.

#include "controls/TMessageBox.h"
#include "forms/ReportMessageBox.h"
#include "forms/main/PrintListCommand.h"
#include "forms/main/StartupSequence.h"
#include "forms/main/WordCommand.h"
#include "layout/TLayoutStore.h"
#include "output/report/TqnReport.h"
#include "session/TMainData.h"
#include "store/TArcDatabase.h"

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>

class CardPage;
class ConfigPage;
class GradientPanel;
class ListPage;
class QAbstractButton;
class QCheckBox;
class QStackedWidget;
class QToolButton;
class TDBNavStrip;

class Tfrm_main final : public QMainWindow {
    Q_OBJECT
public:
    using StartupStep = std::function<StartupOutcome(Tfrm_main &)>;

    // The commands of the bar, in button order.
    enum BarCommand { cmdScheda, cmdLista, cmdStampa, cmdWord, cmdConfig, cmdManuale, kBarCommands };

    // The start-up the program runs: the sequence with this window's own steps.
    static StartupOutcome realStartup(Tfrm_main &window);
    // The maker's web page, opened by the banner button.
    static QString makerAddress();

    // Throws the connection's construction errors; errors of the start-up itself are shown
    // and leave the window standing.
    explicit Tfrm_main(const StartupStep &startup = realStartup, QWidget *parent = nullptr);
    ~Tfrm_main() override;

    TArcDatabase &Database() { return m_database; }
    const TMessageBox &mymsg() const { return m_mymsg; }
    TMainData &data() { return m_data; }
    TLayoutStore &LayoutStore1() { return m_layoutStore; }
    TqnReport &qnReport1() { return m_qnReport1; }
    WordCommand &wordCommand() { return m_wordCommand; }
    PrintListCommand &printCommand() { return m_printCommand; }

    StartupOutcome startupOutcome() const { return m_startupOutcome; }
    bool endRequested() const { return endsProgram(m_startupOutcome); }

    // The layout file the start-up named.
    QString layoutIniPath() const { return m_layoutIniPath; }

    // --- the frame -----------------------------------------------------------------------
    GradientPanel *topBar() const { return m_topBar; }
    QAbstractButton *barButton(int command) const;
    QAbstractButton *bannerButton() const;
    QStackedWidget *pages() const { return m_pages; }
    QWidget *tb_scheda() const;
    QWidget *tb_lista() const;
    QWidget *tb_config() const { return m_tbConfig; }
    ConfigPage *configPage() const { return m_configPage; }
    CardPage *cardPage() const { return m_cardPage; }
    ListPage *listPage() const { return m_listPage; }
    TDBNavStrip *nav_anagrafica() const { return m_navAnagrafica; }
    // The card's check boxes of the assisting bodies, number 1 to 6.
    QCheckBox *ck(int number) const;

    // --- shared with the pages -----------------------------------------------------------
    // Posts the pending edits a page change must not leave open: the card and the lookup
    // tables, refilling the pick list of a posted role or occupation. Errors pass through.
    void Chiude_modifiche();
    // Everything the user may still be typing, posted before the window closes or the archive
    // is reconnected: what a page change posts, then the member rows and the bodies (an
    // appended row left empty goes away instead of becoming a record). Errors pass through,
    // leaving the failing record in edit with the user's values.
    void postPendingEdits();
    // The values proposed in the member grid's role and occupation columns.
    void Popola_lista_ruolo();
    void Popola_lista_occupazione();
    const QStringList &listaRuolo() const { return m_listaRuolo; }
    const QStringList &listaOccupazione() const { return m_listaOccupazione; }
    // Captions of ck1..ck6 from the first six rows of Gruppi (short tables repeat the last).
    void labelCheckBoxes();
    // Posts the pending edits and shows the page; the page stays when a post fails.
    void showPage(QWidget *page);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void configureDatabase();
    void FormCreate(const StartupStep &startup);
    void FormClose();

    // The frame (Tfrm_mainFrame.cpp).
    void buildFrame();
    QWidget *buildTopBar();
    QWidget *buildPages();
    void buildNavigator();
    void grid_anagraficaDblClick();

    // Start-up steps owned by the window.
    void restoreLayout(const QString &iniPath);
    PasswordPrompt makePasswordPrompt();
    void openTables();

    // The bar (Tfrm_mainCommands.cpp). Each handler reports its own errors.
    void barButtonClick(int command);
    void bar_schedaClick();
    void bar_listaClick();
    void bar_stampaClick();   // printed lists: the selection window comes with them
    void bar_wordClick();     // Word documents: the template chooser comes with them
    void bar_configClick();
    void bar_manualeClick();
    void bannerClick();

    TArcDatabase m_database;
    TMessageBox m_mymsg{this};
    TLayoutStore m_layoutStore{this};
    TMainData m_data{m_database};
    ReportMessageBox m_reportMessages{this};
    TqnReport m_qnReport1{this};
    TqnDesigner m_qnDesigner1{this};
    WordCommand m_wordCommand{*this, m_data.Anagrafica(), m_mymsg};
    PrintListCommand m_printCommand{*this};
    QString m_layoutIniPath;
    StartupOutcome m_startupOutcome = StartupOutcome::Continue;
    QStringList m_listaRuolo;
    QStringList m_listaOccupazione;

    GradientPanel *m_topBar = nullptr;
    std::array<QToolButton *, kBarCommands> m_barButtons{};
    QToolButton *m_banner = nullptr;
    QStackedWidget *m_pages = nullptr;
    CardPage *m_cardPage = nullptr;
    ListPage *m_listPage = nullptr;
    QWidget *m_tbConfig = nullptr;
    ConfigPage *m_configPage = nullptr;
    TDBNavStrip *m_navAnagrafica = nullptr;
};
