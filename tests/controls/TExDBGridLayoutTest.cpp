// Saving and loading a grid's column order and widths through the layout keys.

#include "TExDBGridTestSupport.h"

#include "controls/GridLayoutIO.h"

using namespace gridtest;

namespace {

// The main window of the program, whose class name starts the grids' sections.
class Tfrm_main final : public QWidget {
    Q_OBJECT
};

const QString kSection = QStringLiteral("Tfrm_maingrid_nucleo");

class GridLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }
    static std::unique_ptr<GridRig> makeRig()
    {
        return std::make_unique<GridRig>(3, memberColumns(), std::make_unique<Tfrm_main>());
    }
};

class FakeStorage final : public LayoutStorage {
public:
    QString storageSection() const override { return section; }
    void linkClient(LayoutClient *client) override { clients.append(client); }
    void unlinkClient(LayoutClient *client) override { clients.removeAll(client); }
    QString section;
    QList<LayoutClient *> clients;
};

QList<int> widths(const TExDBGrid *grid)
{
    QList<int> result;
    for (int i = 0; i < grid->columns().count(); ++i)
        result << grid->columns().at(i)->width();
    return result;
}

} // namespace

TEST_F(GridLayoutTest, TheSectionIsTheWindowClassFollowedByTheGridName)
{
    auto rig = makeRig();
    EXPECT_EQ(rig->grid->layoutSection(), kSection);
    FakeStorage storage;
    storage.section = QStringLiteral("Layouts");
    rig->grid->setIniStorage(&storage);
    EXPECT_EQ(rig->grid->layoutSection(), "Layouts\\" + kSection);
    EXPECT_EQ(storage.clients.size(), 1);
    rig->grid->setIniStorage(nullptr);
    EXPECT_TRUE(storage.clients.isEmpty());
}

TEST_F(GridLayoutTest, SaveWritesOneKeyPerColumnInDisplayOrder)
{
    auto rig = makeRig();
    rig->grid->columns().at(0)->setWidth(200);
    rig->grid->columns().move(1, 3);
    MemoryLayoutKeys keys;
    keys.write(kSection, QStringLiteral("grid_nucleo.Vecchio"), QStringLiteral("9,9"));
    rig->grid->saveLayout(keys);
    EXPECT_EQ(keys.erasures, 1);
    EXPECT_EQ(keys.lines(kSection),
              (QStringList{"grid_nucleo.Nome=0,200", "grid_nucleo.Lavoro=1,80", "grid_nucleo.Data_nascita=2,80",
                           "grid_nucleo.Ruolo=3,80", "grid_nucleo.Eta=4,80"}));
}

TEST_F(GridLayoutTest, HiddenColumnsAreSavedAndLoadedLikeTheOthers)
{
    auto rig = makeRig();
    rig->grid->columns().at(2)->setVisible(false);
    MemoryLayoutKeys keys;
    rig->grid->saveLayout(keys);
    EXPECT_TRUE(keys.lines(kSection).contains("grid_nucleo.Lavoro=2,80"));
    rig->grid->columns().at(2)->setVisible(true);
    keys.write(kSection, QStringLiteral("grid_nucleo.Lavoro"), QStringLiteral("2,80"));
    rig->grid->loadLayout(keys);
    EXPECT_TRUE(rig->grid->columns().at(2)->visible());
}

TEST_F(GridLayoutTest, OneKeyMovesAndSizesOnlyItsColumn)
{
    auto rig = makeRig();
    MemoryLayoutKeys keys;
    keys.write(kSection, QStringLiteral("grid_nucleo.Ruolo"), QStringLiteral("3,150"));
    rig->grid->loadLayout(keys);
    EXPECT_EQ(columnOrder(rig->grid), (QStringList{"Nome", "Lavoro", "Data_nascita", "Ruolo", "Eta"}));
    EXPECT_EQ(widths(rig->grid), (QList<int>{80, 80, 80, 150, 80}));
}

struct BadValue {
    const char *name;
    const char *value;
    QStringList order;
    int width;
};

void PrintTo(const BadValue &value, std::ostream *out) { *out << value.name; }

class GridLayoutValueTest : public GridLayoutTest, public ::testing::WithParamInterface<BadValue> {};

TEST_P(GridLayoutValueTest, AWordThatIsNoNumberKeepsWhatTheColumnHas)
{
    auto rig = makeRig();
    MemoryLayoutKeys keys;
    keys.write(kSection, QStringLiteral("grid_nucleo.Ruolo"), QString::fromLatin1(GetParam().value));
    rig->grid->loadLayout(keys);
    EXPECT_EQ(columnOrder(rig->grid), GetParam().order);
    EXPECT_EQ(rig->grid->columns().findByField("Ruolo")->width(), GetParam().width);
}

const QStringList kDesigned{"Nome", "Ruolo", "Lavoro", "Data_nascita", "Eta"};
const QStringList kRuoloLast{"Nome", "Lavoro", "Data_nascita", "Eta", "Ruolo"};

INSTANTIATE_TEST_SUITE_P(Values, GridLayoutValueTest,
                         ::testing::Values(BadValue{"IndexNotANumber", "x,120", kDesigned, 120},
                                           BadValue{"WidthNotANumber", "4,wide", kRuoloLast, 80},
                                           BadValue{"BlankSeparated", "4 130", kRuoloLast, 130},
                                           BadValue{"IndexOnly", "4", kRuoloLast, 80},
                                           BadValue{"Empty", "", kDesigned, 80}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(GridLayoutTest, LoadRestoresWhatSaveWrote)
{
    MemoryLayoutKeys keys;
    {
        auto rig = makeRig();
        rig->grid->columns().move(4, 0);
        rig->grid->columns().move(3, 1);
        rig->grid->columns().at(2)->setWidth(133);
        rig->grid->saveLayout(keys);
    }
    auto rig = makeRig();
    rig->grid->loadLayout(keys);
    EXPECT_EQ(columnOrder(rig->grid), (QStringList{"Eta", "Lavoro", "Nome", "Ruolo", "Data_nascita"}));
    EXPECT_EQ(widths(rig->grid), (QList<int>{80, 80, 133, 80, 80}));
}

TEST_F(GridLayoutTest, LoadWorksWhileTheDataSetIsClosed)
{
    auto rig = makeRig();
    rig->data.close();
    MemoryLayoutKeys keys;
    keys.write(kSection, QStringLiteral("grid_nucleo.Nome"), QStringLiteral("4,60"));
    rig->grid->loadLayout(keys);
    EXPECT_EQ(columnOrder(rig->grid).last(), "Nome");
    EXPECT_EQ(rig->grid->columns().at(4)->width(), 60);
}

TEST_F(GridLayoutTest, AGridWithoutNameOrDataSourceLeavesTheFileAlone)
{
    auto rig = makeRig();
    MemoryLayoutKeys keys;
    rig->grid->setObjectName(QString());
    rig->grid->saveLayout(keys);
    EXPECT_EQ(keys.erasures, 0);
    rig->grid->setObjectName(QStringLiteral("grid_nucleo"));
    rig->grid->setDataSource(nullptr);
    rig->grid->saveLayout(keys);
    EXPECT_EQ(keys.erasures, 0);
    keys.write(kSection, QStringLiteral("grid_nucleo.Nome"), QStringLiteral("4,60"));
    rig->grid->loadLayout(keys);
    EXPECT_EQ(columnOrder(rig->grid).first(), "Nome");
}

TEST_F(GridLayoutTest, TheStorageForgetsAGridThatGoesAway)
{
    FakeStorage storage;
    {
        auto rig = makeRig();
        rig->grid->setIniStorage(&storage);
        ASSERT_EQ(storage.clients.size(), 1);
    }
    EXPECT_TRUE(storage.clients.isEmpty());
}

#include "TExDBGridLayoutTest.moc"
