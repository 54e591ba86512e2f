// Pictures of the first-start window and of the notice for a document no application
// opened, for people to look at.

#include "controls/TMessageBox.h"
#include "forms/avvio/Tfrm_avvio.h"
#include "forms/main/DocumentHandover.h"
#include "tests/app/AppTestSupport.h"
#include "tests/screenshots/Screenshots.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

TEST(InstallScreenshots, FirstStartWindowAndUnopenedDocumentNotice)
{
    const QString folder = screenshots::folder();
    const auto shoot = [&](QWidget *modal, const QString &name) {
        screenshots::settle();
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
