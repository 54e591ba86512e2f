// Qt's own dialogs and box buttons speak Italian once the program has loaded Qt's catalogue.

#include "app/QtTranslations.h"

#include <QCoreApplication>
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
