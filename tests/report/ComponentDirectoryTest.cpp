// Finding "window.component": windows before data modules, names without regard to case,
// components that go away drop out.

#include "output/report/ComponentDirectory.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(ComponentDirectoryTest, OpenWindowsComeBeforeDataModulesAndCaseDoesNotMatter)
{
    ComponentDirectory &directory = ComponentDirectory::instance();
    QObject inModule, inWindow;
    inModule.setObjectName(QStringLiteral("Tabella"));
    inWindow.setObjectName(QStringLiteral("Tabella"));
    directory.add(QStringLiteral("Dati"), &inModule, ComponentDirectory::Kind::DataModule);
    directory.add(QStringLiteral("Modulo"), &inModule, ComponentDirectory::Kind::DataModule);
    directory.add(QStringLiteral("dati"), &inWindow, ComponentDirectory::Kind::Window);
    EXPECT_EQ(directory.find(QStringLiteral("DATI.tabella")), &inWindow);
    EXPECT_EQ(directory.find(QStringLiteral("modulo.TABELLA")), &inModule);
    // Split at the first point: the rest is the component's name.
    EXPECT_EQ(directory.find(QStringLiteral("Dati.Tabella.Campo")), nullptr);
    EXPECT_EQ(directory.find(QStringLiteral("Dati")), nullptr);
    {
        auto gone = std::make_unique<QObject>();
        gone->setObjectName(QStringLiteral("Breve"));
        directory.add(QStringLiteral("Dati"), gone.get());
        EXPECT_EQ(directory.find(QStringLiteral("Dati.Breve")), gone.get());
    }
    EXPECT_EQ(directory.find(QStringLiteral("Dati.Breve")), nullptr);
    directory.removeWindow(QStringLiteral("Dati"));
    directory.removeWindow(QStringLiteral("Modulo"));
    EXPECT_EQ(directory.find(QStringLiteral("Dati.Tabella")), nullptr);
}

} // namespace
