// The layout file across restarts of the real main window: what a first close writes, and
// how maximized, minimized and rearranged windows come back.

#include "CardPageTestSupport.h"

#include "controls/GridColumn.h"
#include "controls/TExDBGrid.h"
#include "forms/main/CardPage.h"
#include "forms/main/ListPage.h"
#include "layout/DisplayMetrics.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSettings>
#include <utility>

namespace {

// Sections and keys in file order.
using IniOrder = std::vector<std::pair<QString, QStringList>>;

IniOrder readOrder(const QString &path)
{
    IniOrder order;
    for (const QByteArray &raw : apptest::readAll(path).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            order.push_back({line.mid(1, line.size() - 2), {}});
        else if (line.contains(QLatin1Char('=')) && !order.empty())
            order.back().second << line.section(QLatin1Char('='), 0, 0);
    }
    return order;
}

QStringList gridKeys(const char *grid, const QStringList &fields)
{
    QStringList keys;
    for (const QString &field : fields)
        keys << QString::fromLatin1(grid) + QLatin1Char('.') + field;
    return keys;
}

class LayoutRestartTest : public cardtest::WindowTest {
protected:
    void SetUp() override { cardtest::createArchive(archive(), {cardtest::household(QStringLiteral("P-1"), QStringLiteral("Rossi"))}); }

    QString iniValue(const QString &key) const
    {
        QSettings ini(file("tavorio.ini"), QSettings::IniFormat);
        const QVariant value = ini.value(key);
        return value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
    }

    static QString screenSuffix()
    {
        const QSize screen = currentDisplayMetrics().screenSize;
        return QStringLiteral("(%1x%2)").arg(screen.width()).arg(screen.height());
    }
};

TEST_F(LayoutRestartTest, FirstCloseWritesTheWindowKeysInOrderAndThenBothGrids)
{
    {
        const auto window = start();
        showActive(*window);
        EXPECT_EQ(window->pos(), QPoint(214, 164));
        EXPECT_EQ(window->size(), QSize(597, 643));
        window->close();
    }
    const IniOrder order = readOrder(file("tavorio.ini"));
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0].first, QStringLiteral("Tfrm_main"));
    EXPECT_EQ(order[0].second, (QStringList{"FormVersion", "Flags", "ShowCmd", "PixelsPerInch",
                                            "MinMaxPos" + screenSuffix(), "MinMaxPos", "NormPos" + screenSuffix(),
                                            "NormPos", "Visible"}));
    EXPECT_EQ(order[1].first, QStringLiteral("Tfrm_maingrid_nucleo"));
    EXPECT_EQ(order[1].second, gridKeys("grid_nucleo", {"Nome", "Ruolo", "Lavoro", "Data_nascita", "Eta"}));
    EXPECT_EQ(order[2].first, QStringLiteral("Tfrm_maingrid_anagrafica"));
    EXPECT_EQ(order[2].second,
              gridKeys("grid_anagrafica", {"Protocollo", "Fascia", "Referente", "Capofamiglia", "Indirizzo", "Citta",
                                           "Telefono", "Cellulare", "Email", "Paese_di_origine", "Figli_in_patria",
                                           "Scad_ISEE", "Nucleo", "Abitazione", "Inizio", "Necessita_alimentari",
                                           "Note", "Ascolto"}));
    EXPECT_EQ(iniValue(QStringLiteral("Tfrm_main/Visible")), QStringLiteral("0"));
    EXPECT_EQ(iniValue(QStringLiteral("Tfrm_main/FormVersion")), QStringLiteral("0"));
    EXPECT_TRUE(m_messages.errors().isEmpty());
}

TEST_F(LayoutRestartTest, MaximizedWindowComesBackMaximizedAndRestoresToItsRectangle)
{
    {
        const auto window = start();
        showActive(*window);
        window->move(100, 90);
        window->resize(640, 600);
        QApplication::processEvents();
        window->showMaximized();
        QApplication::processEvents();
        window->close();
    }
    EXPECT_EQ(iniValue(QStringLiteral("Tfrm_main/ShowCmd")), QStringLiteral("3"));
    EXPECT_EQ(iniValue(QStringLiteral("Tfrm_main/NormPos")), QStringLiteral("100,90,740,690"));

    const auto window = start();
    showActive(*window);
    EXPECT_TRUE(window->isMaximized());
    window->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(window->pos(), QPoint(100, 90));
    EXPECT_EQ(window->size(), QSize(640, 600));
}

TEST_F(LayoutRestartTest, MinimizedWindowStartsTheApplicationMinimized)
{
    {
        const auto window = start();
        showActive(*window);
        window->showMinimized();
        QApplication::processEvents();
        window->close();
    }
    EXPECT_EQ(iniValue(QStringLiteral("Tfrm_main/ShowCmd")), QStringLiteral("2"));

    const auto window = start();
    window->show();
    QApplication::processEvents();
    EXPECT_TRUE(window->isMinimized());
}

TEST_F(LayoutRestartTest, MovedAndWidenedColumnComesBackWhereItWasLeft)
{
    {
        const auto window = start();
        showActive(*window);
        TExDBGrid *grid = window->listPage()->grid_anagrafica();
        TColumns &columns = grid->columns();
        columns.findByField(QStringLiteral("Fascia"))->setIndex(columns.count() - 1);
        columns.findByField(QStringLiteral("Fascia"))->setWidth(150);
        window->close();
    }
    EXPECT_EQ(iniValue(QStringLiteral("Tfrm_maingrid_anagrafica/grid_anagrafica.Fascia")), QStringLiteral("17,150"));
    EXPECT_EQ(iniValue(QStringLiteral("Tfrm_maingrid_anagrafica/grid_anagrafica.Referente")).section(',', 0, 0),
              QStringLiteral("1"));

    const auto window = start();
    const TColumns &columns = window->listPage()->grid_anagrafica()->columns();
    EXPECT_EQ(columns.at(17)->fieldName(), QStringLiteral("Fascia"));
    EXPECT_EQ(columns.at(17)->width(), 150);
    EXPECT_EQ(columns.at(1)->fieldName(), QStringLiteral("Referente"));
}

// The layout store moves the columns before the pick lists are filled: each list must still
// land on its own field's column.
TEST_F(LayoutRestartTest, PickListsFollowTheirFieldsToWhereTheColumnsWereMoved)
{
    apptest::writeFile(file("tavorio.ini"), "[Tfrm_maingrid_nucleo]\ngrid_nucleo.Ruolo=4,90\n");
    const auto window = start();
    const TColumns &columns = window->cardPage()->grid_nucleo()->columns();
    ASSERT_EQ(columns.at(4)->fieldName(), QStringLiteral("Ruolo"));
    EXPECT_EQ(columns.findByField(QStringLiteral("Ruolo"))->pickList(), window->listaRuolo());
    EXPECT_EQ(columns.findByField(QStringLiteral("Lavoro"))->pickList(), window->listaOccupazione());
    EXPECT_FALSE(window->listaRuolo().isEmpty());
    for (const char *other : {"Nome", "Data_nascita", "Eta"})
        EXPECT_TRUE(columns.findByField(QString::fromLatin1(other))->pickList().isEmpty()) << other;
}

} // namespace
