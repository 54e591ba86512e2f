// How the strip shares its length among its visible buttons.

#include "TDBNavStripTestSupport.h"

#include <vector>

namespace {

using Kind = TNavStripBtn;

struct LayoutCase {
    const char *name;
    TNavGlyphSize glyphs;
    TNavOrientation orientation;
    bool aligned;
    QSize requested;
    TNavStripButtonSet visible;
    QSize expectedSize;
    std::vector<int> expectedExtents;   // of the visible buttons, in strip order
};

std::ostream &operator<<(std::ostream &out, const LayoutCase &c) { return out << c.name; }

const TNavStripButtonSet kMovement{Kind::nbFirst, Kind::nbPrior, Kind::nbNext, Kind::nbLast};
const TNavStripButtonSet kTen = TNavStripButtonSet::standard();

class NavStripLayout : public testing::TestWithParam<LayoutCase> {
protected:
    static void SetUpTestSuite() { navtest::ensureApplication(); }
};

TEST_P(NavStripLayout, ButtonsShareTheLength)
{
    const LayoutCase &c = GetParam();
    TDBNavStrip nav;
    nav.setGlyphSize(c.glyphs);
    nav.setOrientation(c.orientation);
    nav.setAligned(c.aligned);
    nav.setVisibleButtons(c.visible);
    nav.resize(c.requested);
    nav.show();

    EXPECT_EQ(nav.size(), c.expectedSize);
    const bool horizontal = c.orientation == TNavOrientation::noHorizontal;
    std::vector<int> extents;
    int next = 0;
    for (TNavStripBtn kind : allNavStripBtns()) {
        const QRect box = nav.button(kind)->geometry();
        if (!c.visible.contains(kind)) {
            EXPECT_TRUE(nav.button(kind)->isHidden());
            EXPECT_GT(horizontal ? box.left() : box.top(), horizontal ? nav.width() : nav.height())
                << "hidden button " << navIndex(kind) << " sits inside the strip";
            continue;
        }
        EXPECT_EQ(horizontal ? box.left() : box.top(), next) << "button " << navIndex(kind);
        EXPECT_EQ(horizontal ? box.height() : box.width(), horizontal ? nav.height() : nav.width());
        const int extent = horizontal ? box.width() : box.height();
        extents.push_back(extent);
        next += extent;
    }
    EXPECT_EQ(extents, c.expectedExtents);
}

INSTANTIATE_TEST_SUITE_P(
    Strips, NavStripLayout,
    testing::Values(
        LayoutCase{"LookupStripGivesTheSixthButtonTheSparePixel", TNavGlyphSize::gsSmall,
                   TNavOrientation::noHorizontal, true, {281, 25}, kTen, {281, 25},
                   {28, 28, 28, 28, 28, 29, 28, 28, 28, 28}},
        LayoutCase{"CardStripLeavesOnlyTheFifthButtonNarrow", TNavGlyphSize::gsLarge,
                   TNavOrientation::noHorizontal, true, {589, 30}, kTen, {589, 30},
                   {59, 59, 59, 59, 58, 59, 59, 59, 59, 59}},
        LayoutCase{"MemberStripHasTenButtonsOfTwenty", TNavGlyphSize::gsSmall, TNavOrientation::noHorizontal,
                   false, {200, 18}, kTen, {200, 18}, std::vector<int>(10, 20)},
        LayoutCase{"FreeStripTrimsItsWidthToWholeButtons", TNavGlyphSize::gsSmall,
                   TNavOrientation::noHorizontal, false, {281, 25}, kTen, {280, 25}, std::vector<int>(10, 28)},
        LayoutCase{"SmallStripNeverBelowTwentyByEighteen", TNavGlyphSize::gsSmall,
                   TNavOrientation::noHorizontal, false, {150, 10}, kTen, {200, 18}, std::vector<int>(10, 20)},
        LayoutCase{"LargeStripNeverBelowThirtyTwoByThirty", TNavGlyphSize::gsLarge,
                   TNavOrientation::noHorizontal, true, {241, 25}, kTen, {320, 30}, std::vector<int>(10, 32)},
        LayoutCase{"SparePixelsSpreadOverFourButtons", TNavGlyphSize::gsSmall, TNavOrientation::noHorizontal,
                   true, {103, 20}, kMovement, {103, 20}, {26, 25, 26, 26}},
        LayoutCase{"VerticalStripSharesItsHeight", TNavGlyphSize::gsSmall, TNavOrientation::noVertical, true,
                   {25, 281}, kTen, {25, 281}, {28, 28, 28, 28, 28, 29, 28, 28, 28, 28}},
        LayoutCase{"VerticalStripNeverNarrowerThanOneButton", TNavGlyphSize::gsSmall,
                   TNavOrientation::noVertical, false, {10, 90}, kMovement, {20, 88}, {22, 22, 22, 22}}),
    [](const testing::TestParamInfo<LayoutCase> &info) { return std::string(info.param.name); });

class NavStripSizing : public testing::Test {
protected:
    static void SetUpTestSuite() { navtest::ensureApplication(); }
};

TEST_F(NavStripSizing, NewStripShowsTenButtonsTrimmedFromItsCreationWidth)
{
    TDBNavStrip nav;
    EXPECT_EQ(nav.size(), QSize(240, 25));
    EXPECT_EQ(nav.visibleButtons(), TNavStripButtonSet::standard());
    EXPECT_EQ(nav.button(Kind::nbRefresh)->geometry(), QRect(216, 0, 24, 25));
}

TEST_F(NavStripSizing, CustomGlyphSizeSetsTheMinimumButton)
{
    TDBNavStrip nav;
    nav.setGlyphSize(TNavGlyphSize::gsCustom);
    nav.setGlyphCustomSize(40);
    EXPECT_EQ(nav.minimumButtonSize(), QSize(40, 38));
    EXPECT_EQ(nav.minimumSize(), QSize(400, 38));
    EXPECT_EQ(nav.size(), QSize(400, 38));
}

TEST_F(NavStripSizing, ShowingTheHiddenButtonsRedoesTheLayout)
{
    TDBNavStrip nav;
    nav.setAligned(true);
    nav.resize(281, 25);
    nav.show();
    TNavStripButtonSet all = TNavStripButtonSet::standard();
    all.insert(Kind::nbSearch);
    all.insert(Kind::nbSetBookmark);
    all.insert(Kind::nbGotoBookMark);
    nav.setVisibleButtons(all);

    EXPECT_EQ(nav.minimumSize(), QSize(260, 18));
    EXPECT_FALSE(nav.button(Kind::nbGotoBookMark)->isHidden());
    EXPECT_EQ(nav.button(Kind::nbGotoBookMark)->geometry().right(), 280);
}

TEST_F(NavStripSizing, GlyphSizeChangeReloadsEveryPicture)
{
    TDBNavStrip nav;
    nav.setGlyphSize(TNavGlyphSize::gsLarge);
    for (TNavStripBtn kind : allNavStripBtns()) {
        const NavStripPictureSet &pictures = nav.button(kind)->pictures();
        EXPECT_EQ(pictures.normal.deviceIndependentSize().toSize(), QSize(24, 24)) << navIndex(kind);
        EXPECT_EQ(pictures.disabled.deviceIndependentSize().toSize(), QSize(24, 24)) << navIndex(kind);
    }
}

} // namespace
