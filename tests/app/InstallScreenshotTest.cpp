// Pictures of the first-start window and of the notice for a document no application
// opened, for people to look at: runs only when TAVORIO_SCREENSHOT_DIR names a folder
// (under xvfb-run with QT_QPA_PLATFORM=xcb).

#include "controls/TMessageBox.h"
#include "forms/avvio/Tfrm_avvio.h"
#include "forms/main/DocumentHandover.h"
#include "tests/app/AppTestSupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <gtest/gtest.h>

namespace {

void settle()
{
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

TEST(InstallScreenshots, FirstStartWindowAndUnopenedDocumentNotice)
{
    const QString folder = qEnvironmentVariable("TAVORIO_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "TAVORIO_SCREENSHOT_DIR not set";
    const auto shoot = [&](QWidget *modal, const QString &name) {
        settle();
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') + name);
        modal->close();
    };

    Tfrm_avvio window(QStringLiteral("/home/volontario/Documenti/Tavorio"), [](const FirstStartChoice &) { return QString(); });
    {
        apptest::ModalScript script({[&](QWidget *modal) { shoot(modal, QStringLiteral("primo-avvio.png")); }});
        window.ask();
    }
    QWidget owner;
    owner.resize(640, 420);
    owner.show();
    {
        apptest::ModalScript script({[&](QWidget *modal) { shoot(modal, QStringLiteral("documento-non-aperto.png")); }});
        offerDocumentCopy(owner, TMessageBox(&owner), QStringLiteral("/run/user/1000/tavorio-documenti/Documento1.docx"),
                          [](QWidget *, const QString &) { return QString(); });
    }
}

} // namespace
