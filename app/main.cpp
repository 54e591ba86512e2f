#include "app/AccessImportRun.h"
#include "app/ApplicationSetup.h"
#include "app/ArchiveChange.h"
#include "app/CatalogueUpdate.h"
#include "app/DisplayCheck.h"
#include "app/FirstStart.h"
#include "app/TavorioApplication.h"
#include "forms/ErrorBox.h"
#include "forms/main/ConfigPage.h"
#include "forms/main/Tfrm_main.h"
#include "forms/pass1/Tfrm_pass.h"
#include "forms/pass2/Tfrm_pass2.h"
#include "forms/selezione/Tfrm_stampa.h"
#include "output/report/printer/QtReportPrinter.h"
#include "output/report/ui/PreviewWindows.h"
#include "output/report/ui/designer/DesignerWindows.h"
#include "platform/Secrets.h"

#include <QTranslator>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    // The archive password lives in this process's memory: no core file may carry it away.
    secrets::forbidCoreDumps();
    if (!app::displayAvailable(QProcessEnvironment::systemEnvironment())) {
        std::fprintf(stderr, "%s\n", app::noDisplayMessage());
        return 1;
    }

    TavorioApplication application(argc, argv);
    QTranslator qtItalian;
    app::setUpApplication(qtItalian);
    if (const auto ended = app::settleApplicationFolder(QCoreApplication::arguments()))
        return *ended;
    if (const auto ended = app::offerAccessImportAtStart())
        return *ended;
    useQtPrinters();
    previewwindows::install();
    designerwindows::install();
    designerwindows::installDialogs();

    std::unique_ptr<Tfrm_main> frm_main;
    try {
        frm_main = std::make_unique<Tfrm_main>();
    } catch (const std::exception &error) {
        reportUnhandled(nullptr, error);
        return 1;
    }
    // Created once, in this order, and kept for the whole run.
    const auto frm_pass = std::make_unique<Tfrm_pass>(frm_main.get());
    const auto frm_stampa = std::make_unique<Tfrm_stampa>(frm_main->data(), frm_main.get());
    frm_main->printCommand().setSelectionWindow(frm_stampa.get());
    const auto frm_pass2 = std::make_unique<Tfrm_pass2>(frm_main.get());
    frm_main->configPage()->setPasswordWindow(frm_pass2.get());
    frm_main->configPage()->OnArchivioClick = [&frm_main] { app::changeArchive(*frm_main); };

    if (frm_main->endRequested())
        return frm_main->startupOutcome() == StartupOutcome::ConnectionFailed ? 1 : 0;
    try {
        app::addMissingLists(frm_main->data().stampe());
    } catch (const std::exception &error) {
        // A catalogue that cannot take rows (an archive opened read-only) keeps its lists.
        qWarning("Catalogo degli elenchi non aggiornato: %s", error.what());
    }

    frm_main->show();
    return application.exec();
}
