// Which buttons the navigator enables for each state and position of its dataset.

#include "TDBNavStripTestSupport.h"

#include <functional>
#include <memory>

namespace {

using Kind = TNavStripBtn;
using navtest::NavRig;

struct EnablingCase {
    const char *name;
    int rows;
    std::function<void(NavRig &)> steps;
    TNavStripButtonSet enabled;
    // Buttons whose state the case does not pin down are left out of the check.
    TNavStripButtonSet unchecked{};
};

std::ostream &operator<<(std::ostream &out, const EnablingCase &c) { return out << c.name; }

void openIt(NavRig &rig) { rig.data.open(); }

auto opened(std::function<void(NavRig &)> more)
{
    return [more](NavRig &rig) {
        rig.data.open();
        more(rig);
    };
}

auto clicks(std::initializer_list<Kind> kinds)
{
    std::vector<Kind> list(kinds);
    return opened([list](NavRig &rig) {
        for (Kind kind : list)
            rig.nav.btnClick(kind);
    });
}

const TNavStripButtonSet kAtFirst{Kind::nbNext, Kind::nbLast, Kind::nbInsert, Kind::nbDelete, Kind::nbEdit,
                                  Kind::nbRefresh, Kind::nbSearch, Kind::nbSetBookmark};
const TNavStripButtonSet kInMiddle{Kind::nbFirst, Kind::nbPrior, Kind::nbNext, Kind::nbLast, Kind::nbInsert,
                                   Kind::nbDelete, Kind::nbEdit, Kind::nbRefresh, Kind::nbSearch,
                                   Kind::nbSetBookmark};
const TNavStripButtonSet kBeginning{Kind::nbFirst, Kind::nbPrior};
const TNavStripButtonSet kMovementOnly{Kind::nbFirst, Kind::nbPrior, Kind::nbNext, Kind::nbLast, Kind::nbSearch,
                                       Kind::nbSetBookmark};

TNavStripButtonSet with(TNavStripButtonSet set, Kind kind)
{
    set.insert(kind);
    return set;
}

class NavStripEnabling : public testing::TestWithParam<EnablingCase> {
protected:
    static void SetUpTestSuite() { navtest::ensureApplication(); }
};

TEST_P(NavStripEnabling, ButtonsFollowTheDataSet)
{
    const EnablingCase &c = GetParam();
    NavRig rig(c.rows);
    c.steps(rig);
    for (Kind kind : allNavStripBtns()) {
        if (!c.unchecked.contains(kind)) {
            EXPECT_EQ(rig.enabled(kind), c.enabled.contains(kind)) << "button " << navIndex(kind);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NavStripEnabling,
    testing::Values(
        EnablingCase{"ClosedDataSetDisablesEverything", 3, [](NavRig &) {}, {}},
        EnablingCase{"ClosingTheDataSetDisablesEverything", 3, opened([](NavRig &r) { r.data.close(); }), {}},
        EnablingCase{"EmptyDataSetOffersOnlyInsertEditAndRefresh", 0, openIt,
                     {Kind::nbInsert, Kind::nbEdit, Kind::nbRefresh, Kind::nbSearch, Kind::nbSetBookmark}},
        EnablingCase{"InsertingEnablesPostAndCancel", 0, clicks({Kind::nbInsert}),
                     {Kind::nbInsert, Kind::nbPost, Kind::nbCancel, Kind::nbRefresh, Kind::nbSearch,
                      Kind::nbSetBookmark},
                     {Kind::nbFirst, Kind::nbPrior, Kind::nbNext, Kind::nbLast, Kind::nbDelete}},
        EnablingCase{"JustOpenedSitsAtTheBeginning", 3, openIt, kAtFirst},
        EnablingCase{"FirstFindsTheBeginning", 3, clicks({Kind::nbNext, Kind::nbNext, Kind::nbFirst}), kAtFirst},
        EnablingCase{"PriorBackOntoTheFirstRecordKeepsFirstAndPrior", 3, clicks({Kind::nbNext, Kind::nbPrior}),
                     kInMiddle},
        EnablingCase{"FurtherPriorFindsTheBeginning", 3, clicks({Kind::nbNext, Kind::nbPrior, Kind::nbPrior}),
                     kAtFirst},
        EnablingCase{"LastFindsTheEnd", 3, clicks({Kind::nbLast}),
                     {Kind::nbFirst, Kind::nbPrior, Kind::nbInsert, Kind::nbDelete, Kind::nbEdit, Kind::nbRefresh,
                      Kind::nbSearch, Kind::nbSetBookmark}},
        EnablingCase{"EditingSwapsEditForPostAndCancel", 3, clicks({Kind::nbEdit}),
                     {Kind::nbNext, Kind::nbLast, Kind::nbInsert, Kind::nbDelete, Kind::nbPost, Kind::nbCancel,
                      Kind::nbRefresh, Kind::nbSearch, Kind::nbSetBookmark}},
        // Where the dataset leaves BOF after a post or cancel is its own business.
        EnablingCase{"PostingEndsTheEdit", 3, clicks({Kind::nbEdit, Kind::nbPost}), kAtFirst, kBeginning},
        EnablingCase{"CancellingEndsTheEdit", 3, clicks({Kind::nbEdit, Kind::nbCancel}), kAtFirst, kBeginning},
        EnablingCase{"ReadOnlyDataSetOnlyMoves", 3,
                     [](NavRig &r) {
                         r.data.setReadOnly(true);
                         r.data.open();
                         r.nav.btnClick(Kind::nbNext);
                     },
                     kMovementOnly},
        EnablingCase{"SettingABookmarkEnablesGoingBack", 3, clicks({Kind::nbSetBookmark}),
                     with(kAtFirst, Kind::nbGotoBookMark)},
        EnablingCase{"DisabledNavigatorDisablesEverything", 3,
                     opened([](NavRig &r) { r.nav.setEnabled(false); }), {}},
        EnablingCase{"ReenabledNavigatorLooksAgain", 3,
                     opened([](NavRig &r) {
                         r.nav.setEnabled(false);
                         r.data.next();
                         r.nav.setEnabled(true);
                     }),
                     kInMiddle},
        EnablingCase{"DisabledDataSourceDisablesEverything", 3,
                     opened([](NavRig &r) { r.source.setEnabled(false); }), {}}),
    [](const testing::TestParamInfo<EnablingCase> &info) { return std::string(info.param.name); });

class NavStripBinding : public testing::Test {
protected:
    static void SetUpTestSuite() { navtest::ensureApplication(); }
};

TEST_F(NavStripBinding, DataSourceGoingFirstLeavesTheStripUnbound)
{
    NavRig rig(3);
    rig.data.open();
    auto source = std::make_unique<TDataSource>();
    source->setDataSet(&rig.data);
    rig.nav.setDataSource(source.get());
    ASSERT_TRUE(rig.enabled(Kind::nbNext));

    source.reset();
    EXPECT_EQ(rig.nav.dataSource(), nullptr);
    for (Kind kind : allNavStripBtns())
        EXPECT_FALSE(rig.enabled(kind)) << navIndex(kind);
    rig.nav.btnClick(Kind::nbNext);   // nothing to drive
    EXPECT_EQ(rig.current(), 1);
}

TEST_F(NavStripBinding, NavigatorGoingFirstLeavesTheDataSetWorking)
{
    NavRig rig(3);
    rig.data.open();
    auto nav = std::make_unique<TDBNavStrip>();
    nav->setDataSource(&rig.source);
    nav.reset();
    rig.data.next();
    rig.data.edit();
    rig.data.cancel();
    EXPECT_EQ(rig.current(), 2);
    EXPECT_EQ(rig.source.dataLinks().size(), 1);   // the rig's own navigator
}

TEST_F(NavStripBinding, FormHintsOverrideTheBuiltInOnes)
{
    NavRig rig(0);
    rig.nav.setHints({QStringLiteral("Primo"), QString(), QStringLiteral("Successivo")});
    EXPECT_EQ(rig.button(Kind::nbFirst)->toolTip(), QStringLiteral("Primo"));
    EXPECT_EQ(rig.button(Kind::nbPrior)->toolTip(), TDBNavStrip::builtInHint(Kind::nbPrior));
    EXPECT_EQ(rig.button(Kind::nbNext)->toolTip(), QStringLiteral("Successivo"));
    EXPECT_EQ(rig.button(Kind::nbRefresh)->toolTip(), TDBNavStrip::builtInHint(Kind::nbRefresh));
    EXPECT_FALSE(TDBNavStrip::builtInHint(Kind::nbRefresh).isEmpty());
}

} // namespace
