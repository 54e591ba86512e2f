#pragma once
// The main window: the program's working surface. It owns the archive connection and the
// message box for the whole run; creating it runs the start-up.

#include "controls/TMessageBox.h"
#include "forms/main/StartupSequence.h"
#include "store/TArcDatabase.h"

#include <QMainWindow>
#include <functional>

class Tfrm_main final : public QMainWindow {
    Q_OBJECT
public:
    using StartupStep = std::function<StartupOutcome(Tfrm_main &)>;

    // The start-up the program runs: the sequence with this window's own steps.
    static StartupOutcome realStartup(Tfrm_main &window);

    // Throws the connection's construction errors; errors of the start-up itself are shown
    // and leave the window standing.
    explicit Tfrm_main(const StartupStep &startup = realStartup, QWidget *parent = nullptr);
    ~Tfrm_main() override;

    TArcDatabase &Database() { return m_database; }
    const TMessageBox &mymsg() const { return m_mymsg; }

    StartupOutcome startupOutcome() const { return m_startupOutcome; }
    bool endRequested() const { return endsProgram(m_startupOutcome); }

    // The layout file the start-up named (the layout store will keep it).
    QString layoutIniPath() const { return m_layoutIniPath; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void configureDatabase();
    void FormCreate(const StartupStep &startup);
    void FormClose();

    // Start-up steps owned by the window.
    void restoreLayout(const QString &iniPath);
    PasswordPrompt makePasswordPrompt();
    void openTables();

    TArcDatabase m_database;
    TMessageBox m_mymsg{this};
    QString m_layoutIniPath;
    StartupOutcome m_startupOutcome = StartupOutcome::Continue;
};
