// Qt's own dialogs and box buttons speak Italian once the program has loaded Qt's catalogue,
// and the program's title goes to its boxes only.

#include "app/ApplicationSetup.h"
#include "app/QtTranslations.h"
#include "controls/ApplicationTitle.h"

#include <QGuiApplication>
#include <QTranslator>
#include <gtest/gtest.h>

TEST(QtTranslations, QtsOwnTextsComeInItalianAndAMissingCatalogueLeavesThemEnglish)
{
    QTranslator missing;
    EXPECT_FALSE(app::installItalianQtTranslations(missing, QStringLiteral("/nonexistent")));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));

    QTranslator italian;
    ASSERT_TRUE(app::installItalianQtTranslations(italian)) << app::qtTranslationsFolder().toStdString();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annulla"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Cerca in:"));
    QCoreApplication::removeTranslator(&italian);
}

// The boxes carry the program's title; the windows' own titles get nothing appended, since Qt
// appends only a display name the program never sets.
TEST(ApplicationSetup, BoxesTakeTheTitleAndQtSpeaksItalianWhileWindowTitlesStayTheirOwn)
{
    QTranslator italian;
    app::setUpApplication(italian);
    EXPECT_EQ(applicationTitle(), QStringLiteral("Brunzel"));
    EXPECT_NE(QGuiApplication::applicationDisplayName(), QStringLiteral("Brunzel"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annulla"));
    QCoreApplication::removeTranslator(&italian);
}
