#include "app/ArchiveChange.h"

#include "app/ApplicationFolder.h"
#include "app/FirstStart.h"
#include "controls/TMessageBox.h"
#include "platform/SuppliedFiles.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>

namespace app {

bool restartOn(const QString &folder)
{
    // The option names the folder, so neither the variable nor an older remembered folder
    // can send the new program elsewhere.
    QProcess program;
    program.setProgram(QCoreApplication::applicationFilePath());
    program.setArguments({kFolderOption, folder});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(kFolderVariable);
    program.setProcessEnvironment(environment);
    return program.startDetached();
}

void changeArchive(QMainWindow &window, const Restart &restart)
{
    const FirstStartPlaces places{platform::suppliedFolder(), defaultDemoFolder()};
    Tfrm_avvio question(defaultNewArchiveFolder(),
                        [&places](const FirstStartChoice &chosen) { return carryOutFirstStart(chosen, places); },
                        &window);
    question.setWindowTitle(QStringLiteral("Tavorio - cambia archivio"));
    question.esci()->setText(QStringLiteral("Annulla"));
    const QString folder = question.ask();
    if (folder.isEmpty())
        return;
    if (!places.suppliedFolder.isEmpty())
        rememberFolder(folder);
    // A card the user does not let go keeps the program on this archive.
    if (!window.close())
        return;
    if (!restart(folder))
        TMessageBox().notice(QStringLiteral("   Impossibile avviare di nuovo il programma: avviarlo a mano.   "));
}

} // namespace app
