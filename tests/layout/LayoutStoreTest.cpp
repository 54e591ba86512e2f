// The main window's layout store over a real file: what a close writes, and how the next
// start comes back.

#include "LayoutTestSupport.h"

#include "layout/DisplayMetrics.h"
#include "layout/EIniFileException.h"
#include "layout/IniLayoutKeys.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using layouttest::MainWindowRun;

namespace {

class LayoutStoreTest : public testing::Test {
protected:
    QString value(const QString &section, const QString &key) const
    {
        return IniLayoutKeys(m_ini).readString(section, key, QStringLiteral("<missing>"));
    }
    QString mainValue(const QString &key) const { return value(QStringLiteral("Tfrm_main"), key); }
    QString sized(const QString &key) const
    {
        const QSize screen = currentDisplayMetrics().screenSize;
        return QStringLiteral("%1(%2x%3)").arg(key).arg(screen.width()).arg(screen.height());
    }
    // Shows the window and lets the posted work run, as the program's first loop turns do.
    static void show(MainWindowRun &run)
    {
        run.window.show();
        QCoreApplication::processEvents();
    }
    static void closeAfterShowing(MainWindowRun &run)
    {
        show(run);
        EXPECT_TRUE(run.window.close());
    }

    QTemporaryDir m_dir;
    QString m_ini = m_dir.filePath(QStringLiteral("tavorio.ini"));
};

TEST_F(LayoutStoreTest, FirstCloseWritesWindowKeysInOrderThenBothGridSections)
{
    {
        MainWindowRun run(m_ini);
        show(run);
        EXPECT_EQ(run.window.pos(), QPoint(214, 164));
        EXPECT_EQ(run.window.size(), QSize(597, 643));
        run.window.close();
    }
    const QStringList expected{"[Tfrm_main]", "FormVersion", "Flags", "ShowCmd", "PixelsPerInch",
                               sized("MinMaxPos"), "MinMaxPos", sized("NormPos"), "NormPos", "Visible",
                               "[Tfrm_maingrid_nucleo]", "grid_nucleo.Nome", "grid_nucleo.Ruolo", "grid_nucleo.Eta",
                               "[Tfrm_maingrid_anagrafica]", "grid_anagrafica.Protocollo", "grid_anagrafica.Fascia",
                               "grid_anagrafica.Ascolto"};
    EXPECT_EQ(layouttest::fileEntries(m_ini), expected);
    EXPECT_EQ(mainValue("FormVersion"), "0");
    EXPECT_EQ(mainValue("ShowCmd"), "1");
    EXPECT_EQ(mainValue("PixelsPerInch"), QString::number(currentDisplayMetrics().pixelsPerInch));
    EXPECT_EQ(mainValue("NormPos"), "214,164,811,807");
    EXPECT_EQ(mainValue(sized("NormPos")), "214,164,811,807");
    EXPECT_EQ(mainValue("MinMaxPos"), mainValue(sized("MinMaxPos")));
    EXPECT_EQ(mainValue("Visible"), "0");
    EXPECT_EQ(value("Tfrm_maingrid_anagrafica", "grid_anagrafica.Fascia"), "1,40");
}

TEST_F(LayoutStoreTest, MovedAndResizedWindowComesBackWhereItWasLeft)
{
    {
        MainWindowRun run(m_ini);
        show(run);
        run.window.move(40, 30);
        run.window.resize(500, 400);
        run.window.close();
    }
    MainWindowRun next(m_ini);
    EXPECT_EQ(next.window.pos(), QPoint(40, 30));
    show(next);
    EXPECT_EQ(next.window.pos(), QPoint(40, 30));
    EXPECT_EQ(next.window.size(), QSize(500, 400));
}

TEST_F(LayoutStoreTest, MaximizedCloseReopensMaximizedAndRestoresToTheStoredRectangle)
{
    for (int start = 0; start < 2; ++start) {
        MainWindowRun run(m_ini);
        if (start == 0) {
            run.window.move(50, 60);
            run.window.resize(400, 300);
        }
        show(run);
        if (start == 0)
            run.window.showMaximized();
        EXPECT_TRUE(run.window.isMaximized());
        run.window.close();
        EXPECT_EQ(mainValue("ShowCmd"), "3");
        EXPECT_EQ(mainValue("NormPos"), "50,60,450,360") << "start " << start;
    }
    MainWindowRun last(m_ini);
    show(last);
    last.window.showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(last.window.pos(), QPoint(50, 60));
    EXPECT_EQ(last.window.size(), QSize(400, 300));
}

TEST_F(LayoutStoreTest, MinimizedCloseStartsTheNextRunMinimized)
{
    {
        MainWindowRun run(m_ini);
        show(run);
        run.window.showMinimized();
        run.window.close();
    }
    EXPECT_EQ(mainValue("ShowCmd"), "2");
    MainWindowRun next(m_ini);
    EXPECT_FALSE(next.window.isMinimized()) << "opens normal, minimized once the loop runs";
    show(next);
    EXPECT_TRUE(next.window.isMinimized());
}

TEST_F(LayoutStoreTest, MovedAndWidenedColumnComesBackLastWithItsWidth)
{
    {
        MainWindowRun run(m_ini);
        auto &columns = run.anagrafica.columns;
        std::rotate(columns.begin() + 1, columns.begin() + 2, columns.end());
        columns.back().width = 99;
        closeAfterShowing(run);
    }
    EXPECT_EQ(value("Tfrm_maingrid_anagrafica", "grid_anagrafica.Fascia"), "2,99");
    MainWindowRun next(m_ini);
    using Column = layouttest::FakeGrid::Column;
    EXPECT_EQ(next.anagrafica.columns, (std::vector<Column>{{"Protocollo", 60}, {"Ascolto", 50}, {"Fascia", 99}}));
    EXPECT_EQ(next.nucleo.columns.front(), (Column{"Nome", 120}));
}

TEST_F(LayoutStoreTest, OtherPixelsPerInchKeepPositionButRestoreState)
{
    const int otherDensity = currentDisplayMetrics().pixelsPerInch + 24;
    layouttest::writeFile(m_ini, QStringLiteral("[Tfrm_main]\nShowCmd=3\nPixelsPerInch=%1\nNormPos=10,10,300,300\n")
                                     .arg(otherDensity)
                                     .toUtf8());
    MainWindowRun run(m_ini);
    show(run);
    EXPECT_TRUE(run.window.isMaximized());
    run.window.showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(run.window.pos(), QPoint(214, 164));
    EXPECT_EQ(run.window.size(), QSize(597, 643));
}

struct ScreenKeyCase {
    const char *name;
    bool sizedForThisScreen;
    QPoint expected;
};

void PrintTo(const ScreenKeyCase &screenCase, std::ostream *out) { *out << screenCase.name; }

class ScreenSizeKeyTest : public LayoutStoreTest, public testing::WithParamInterface<ScreenKeyCase> {};

TEST_P(ScreenSizeKeyTest, KeyForThisScreenWinsOverTheLatestOne)
{
    const QString sizedKey = GetParam().sizedForThisScreen ? sized("NormPos") : QStringLiteral("NormPos(1x1)");
    layouttest::writeFile(m_ini, QStringLiteral("[Tfrm_main]\n%1=20,25,320,325\nNormPos=70,75,370,375\n")
                                     .arg(sizedKey)
                                     .toUtf8());
    MainWindowRun run(m_ini);
    EXPECT_EQ(run.window.pos(), GetParam().expected);
    EXPECT_EQ(run.window.size(), QSize(300, 300));
}

INSTANTIATE_TEST_SUITE_P(Keys, ScreenSizeKeyTest,
                         testing::Values(ScreenKeyCase{"ThisScreen", true, {20, 25}},
                                         ScreenKeyCase{"OtherScreen", false, {70, 75}}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LayoutStoreTest, ReadOnlyFileRaisesUnableToWriteAndTheCloseStillHappens)
{
    {
        MainWindowRun run(m_ini);
        closeAfterShowing(run);
    }
    QFile::setPermissions(m_ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QByteArray before = layouttest::fileBytes(m_ini);
    const QString message = QStringLiteral("Unable to write to %1").arg(m_ini);

    MainWindowRun run(m_ini);
    show(run);
    run.window.move(10, 10);
    try {
        run.store.saveLayout();
        ADD_FAILURE() << "the save went through";
    } catch (const EIniFileException &error) {
        EXPECT_EQ(error.message(), message);
    }
    EXPECT_TRUE(run.window.close());
    EXPECT_FALSE(run.window.isVisible());
    EXPECT_EQ(run.errors, QStringList{message});
    EXPECT_EQ(layouttest::fileBytes(m_ini), before);
}

TEST_F(LayoutStoreTest, DestructionWithoutCloseWritesVisibleOneAndAfterACloseNothing)
{
    { MainWindowRun run(m_ini); }
    EXPECT_EQ(mainValue("Visible"), "1");

    {
        MainWindowRun run(m_ini);
        closeAfterShowing(run);
        QFile::remove(m_ini);
    }
    EXPECT_FALSE(QFile::exists(m_ini)) << "the destruction saved again after a close";
}

TEST_F(LayoutStoreTest, RefusedCloseSavesNothing)
{
    MainWindowRun run(m_ini);
    run.window.refuseClose = true;
    show(run);
    EXPECT_FALSE(run.window.close());
    EXPECT_FALSE(QFile::exists(m_ini));
    run.store.setActive(false);
}

TEST_F(LayoutStoreTest, NoSaveBeforeTheFirstRestore)
{
    Tfrm_main window;
    TLayoutStore store(&window);
    store.setIniFileName(m_ini);
    store.saveLayout();
    store.formDestroy();
    EXPECT_FALSE(QFile::exists(m_ini));
}

TEST_F(LayoutStoreTest, FileOfAnOlderVersionIsNotRestored)
{
    layouttest::writeFile(m_ini, "[Tfrm_main]\nFormVersion=1\nNormPos=10,10,300,300\n");
    Tfrm_main window;
    TLayoutStore store(&window);
    store.setIniFileName(m_ini);
    store.setVersion(2);
    store.restoreLayout();
    EXPECT_EQ(window.pos(), QPoint(214, 164));
    EXPECT_TRUE(store.restored());
    store.setActive(false);
}

} // namespace
