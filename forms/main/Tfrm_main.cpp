#include "forms/main/Tfrm_main.h"

#include "layout/PrivateProfile.h"

#include "session/ProcessValues.h"

#include "controls/SansFont.h"
#include "forms/ErrorBox.h"
#include "forms/main/ConfigPage.h"
#include "forms/pass1/Tfrm_pass.h"
#include "output/report/ComponentDirectory.h"
#include "session/ArchiveConnection.h"
#include "store/ServerArchive.h"

#include <QCloseEvent>
#include <memory>

namespace {

constexpr int kFontPixels = 11;

} // namespace

StartupOutcome Tfrm_main::realStartup(Tfrm_main &window)
{
    StartupSteps steps;
    steps.restoreLayout = [&window](const QString &iniPath) { window.restoreLayout(iniPath); };
    steps.makePasswordPrompt = [&window] { return window.makePasswordPrompt(); };
    steps.openTables = [&window] { window.openTables(); };
    steps.notice = [&window](const QString &text) { window.mymsg().notice(text); };
    return runStartupSequence(window.Database(), steps);
}

Tfrm_main::Tfrm_main(const StartupStep &startup, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frm_main"));
    setWindowTitle(ProcessValues::demoArchive() ? QStringLiteral("Tavorio (dimostrazione)") : QStringLiteral("Tavorio"));
    setFont(sansSerifFont(kFontPixels));
    move(214, 164);
    resize(597, 643);
    configureDatabase();
    configureReport(m_qnReport1);
    m_qnReport1.setMessages(&m_reportMessages);
    registerReportDataSets(objectName(), m_data);
    buildFrame();
    m_configPage->OnTracciatiClick = [this] { m_printCommand.editLayouts(); };
    m_layoutStore.setErrorHandler([this](const std::exception &error) { reportUnhandled(this, error); });
    FormCreate(startup);
}

Tfrm_main::~Tfrm_main()
{
    // The store still needs the window and its grids whole to save their layout.
    m_layoutStore.formDestroy();
    ComponentDirectory::instance().removeWindow(objectName());
    // Qt deletes child widgets only after the members are gone; the data-aware controls must
    // go first, while the datasets and data sources they watch still exist.
    delete takeCentralWidget();
}

void Tfrm_main::configureDatabase()
{
    configureArchiveConnection(m_database);
}

// An error the start-up does not handle itself stops it where it happened; the window is
// shown all the same, with whatever was opened until then.
void Tfrm_main::FormCreate(const StartupStep &startup)
{
    try {
        m_startupOutcome = startup(*this);
    } catch (const std::exception &error) {
        reportUnhandled(this, error);
    }
}

// Closing the datasets would cancel what is being typed: it is posted first, and a post the
// archive refuses keeps the window open with the user's values in place.
void Tfrm_main::closeEvent(QCloseEvent *event)
{
    try {
        postPendingEdits();
    } catch (const std::exception &error) {
        reportUnhandled(this, error);
        event->ignore();
        return;
    }
    FormClose();
    QMainWindow::closeEvent(event);
}

// Closing the main window ends the program: the archive is released now, so the lock file
// goes as soon as the last user leaves.
void Tfrm_main::FormClose()
{
    try {
        m_database.setConnected(false);
    } catch (const std::exception &error) {
        reportUnhandled(this, error);
    }
}

// The placement is restored before the archive is opened, so the window never jumps once
// the data is there.
void Tfrm_main::restoreLayout(const QString &iniPath)
{
    m_layoutIniPath = iniPath;
    m_layoutStore.setIniFileName(iniPath);
    m_layoutStore.restoreLayout();
}

// One prompt window per gate run, owned by this window and released when the gate drops it.
PasswordPrompt Tfrm_main::makePasswordPrompt()
{
    auto prompt = std::make_shared<Tfrm_pass>(this);
    if (m_database.location().isFile())
        return [prompt] { return prompt->askPassword(); };
    // Each person signs in with their own name; the desk remembers the last one.
    const QString iniPath = ProcessValues::applicationFolder() + QStringLiteral("tavorio.ini");
    // The last person who signed in here, else the login the address names.
    const QString lastUser = privateprofile::readKey(iniPath, QStringLiteral("Server"), QStringLiteral("Utente"))
                                 .value_or(store::serverRole(m_database.Database()));
    prompt->askForServer(store::shownLocation(m_database.Database()), store::isProtectedLink(m_database.Database()),
                         lastUser);
    return [this, prompt, iniPath] {
        std::optional<QString> typed = prompt->askPassword();
        if (typed && !prompt->user().isEmpty()) {
            m_database.setServerUser(prompt->user());
            privateprofile::writeKey(iniPath, QStringLiteral("Server"), QStringLiteral("Utente"), prompt->user());
        }
        return typed;
    };
}

// Runs connected; any error here is the sequence's "cannot connect" and ends the program.
// The member table follows the card table, so the card table opens first.
void Tfrm_main::openTables()
{
    m_data.Anagrafica().open();
    m_data.Nucleo().open();
    m_data.Fascia().open();
    m_data.Ruolo().open();
    Popola_lista_ruolo();
    m_data.Occupazione().open();
    Popola_lista_occupazione();
    m_data.stampe().open();
    m_data.Gruppi().open();
    labelCheckBoxes();
}
