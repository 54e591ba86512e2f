// Keys of the data grid that decide whether a typed row is kept: Up from a row typed at the
// end of the data keeps it (moving up posts it) and makes the grid cancel on leaving again,
// and with Enter-as-Tab on, Enter does all that Tab does (stores the typed text, moves to the
// next column or out of the grid).

#include "TExDBGridTestSupport.h"

using namespace gridtest;

namespace {

class GridRowKeysTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }
};

TEST_F(GridRowKeysTest, UpFromARowTypedAtTheEndKeepsItAndCancelsOnLeavingAgain)
{
    GridRig rig(2);
    rig.data.last();
    key(rig.grid, Qt::Key_Down);
    type(rig.grid, "Anna");
    ASSERT_EQ(rig.data.state(), TDataSetState::dsInsert);
    ASSERT_FALSE(rig.grid->hasOption(TDBGridOption::dgCancelOnExit));
    key(rig.grid, Qt::Key_Up);
    EXPECT_EQ(rig.data.state(), TDataSetState::dsBrowse);
    ASSERT_EQ(rig.data.rows().size(), 3u);
    EXPECT_EQ(rig.data.rows().back().values.value(0), "Anna");
    EXPECT_EQ(rig.current("Nome"), "Nome2");
    EXPECT_TRUE(rig.grid->hasOption(TDBGridOption::dgCancelOnExit));
    // A row inserted now and left untouched goes when the focus does.
    key(rig.grid, Qt::Key_Insert);
    rig.other->setFocus();
    EXPECT_EQ(rig.data.rows().size(), 3u);
}

struct EnterCase {
    const char *name;
    bool enterAsTab;
    bool tabs;
    int column;            // the selected column afterwards
    bool focusLeaves;
};

class GridEnterTest : public GridRowKeysTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(GridEnterTest, EnterAfterTypingStoresTheTextAndMovesAsTabWhenAsked)
{
    GridRig rig(3);
    rig.grid->setEnterAsTab(GetParam().enterAsTab);
    rig.grid->setOption(TDBGridOption::dgTabs, GetParam().tabs);
    type(rig.grid, "Lia");
    key(rig.grid, Qt::Key_Return);
    EXPECT_EQ(rig.current("Nome"), "Lia");
    EXPECT_EQ(rig.grid->selectedIndex(), GetParam().column);
    EXPECT_EQ(QApplication::focusWidget() == rig.other, GetParam().focusLeaves);
}

INSTANTIATE_TEST_SUITE_P(Grids, GridEnterTest,
                         ::testing::Values(EnterCase{"EnterOnly", false, true, 0, false},
                                           EnterCase{"AsTabToTheNextColumn", true, true, 1, false},
                                           EnterCase{"AsTabOutOfTheGrid", true, false, 0, true}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
