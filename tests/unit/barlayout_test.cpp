// Where bars go around a menu, checked on rectangles alone.
#include <gtest/gtest.h>

#include "engine/BarLayout.h"

using namespace orvale;

namespace {

constexpr int F = 3;   // frame thickness used for these cases
constexpr int S = 24;  // button size of a menu bar

LayoutBar Horizontal(int slot, int buttons) {
    LayoutBar bar;
    bar.slot = slot;
    bar.horizontal = true;
    bar.naturalLength = S * buttons + 2 * F;
    bar.naturalWidth = bar.naturalLength;
    bar.naturalHeight = S + 2 * F;
    bar.size = {bar.naturalWidth, bar.naturalHeight};
    return bar;
}

LayoutBar Vertical(int slot, int buttons) {
    LayoutBar bar;
    bar.slot = slot;
    bar.horizontal = false;
    bar.naturalLength = S * buttons + 2 * F;
    bar.naturalWidth = S + 2 * F;
    bar.naturalHeight = bar.naturalLength;
    bar.size = {bar.naturalWidth, bar.naturalHeight};
    return bar;
}

RECT Rect(LONG left, LONG top, LONG right, LONG bottom) { return {left, top, right, bottom}; }

void ExpectRect(const RECT& expected, const RECT& actual, const char* what) {
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

const RECT kMenu = Rect(100, 200, 220, 350);  // 120 wide, 150 tall

}  // namespace

TEST(BarLayout, HorizontalBarWiderThanTheMenuSitsOnItsTopEdgeAndWidensIt) {
    auto layout = LayoutBarsAround(kMenu, {Horizontal(1, 5)});  // 126 wide
    ASSERT_EQ(1u, layout.placements.size());
    ExpectRect(Rect(100, 170, 226, 200), layout.placements[0].rect, "bar");
    ExpectRect(Rect(100, 200, 226, 350), layout.menu, "menu");
}

TEST(BarLayout, HorizontalBarNarrowerThanTheMenuTakesTheMenuWidth) {
    auto layout = LayoutBarsAround(kMenu, {Horizontal(2, 2)});
    ExpectRect(Rect(100, 170, 220, 200), layout.placements[0].rect, "bar");
    ExpectRect(kMenu, layout.menu, "menu unchanged");
}

TEST(BarLayout, TwoHorizontalBarsStackUpwardsWithTheSameWidth) {
    auto layout = LayoutBarsAround(kMenu, {Horizontal(1, 5), Horizontal(3, 3)});
    ASSERT_EQ(2u, layout.placements.size());
    ExpectRect(Rect(100, 170, 226, 200), layout.placements[0].rect, "first bar");
    ExpectRect(Rect(100, 140, 226, 170), layout.placements[1].rect, "second bar on top");
    EXPECT_EQ(226, layout.menu.right);
}

TEST(BarLayout, VerticalBarStartsAtTheTopOfTheHorizontalStackAndReachesTheMenuBottom) {
    // Slot order puts the vertical bar first; horizontal bars are still placed first.
    auto layout = LayoutBarsAround(kMenu, {Vertical(1, 3), Horizontal(2, 5)});
    ASSERT_EQ(2u, layout.placements.size());
    EXPECT_EQ(2, layout.placements[0].slot);
    ExpectRect(Rect(100, 170, 226, 200), layout.placements[0].rect, "horizontal");
    ExpectRect(Rect(70, 170, 100, 350), layout.placements[1].rect, "vertical");
    ExpectRect(Rect(100, 200, 226, 350), layout.menu, "menu");
}

TEST(BarLayout, VerticalBarsStackLeftwardsFromTheMenuTop) {
    auto layout = LayoutBarsAround(kMenu, {Vertical(1, 2), Vertical(2, 3)});
    ASSERT_EQ(2u, layout.placements.size());
    ExpectRect(Rect(70, 200, 100, 350), layout.placements[0].rect, "first");
    ExpectRect(Rect(40, 200, 70, 350), layout.placements[1].rect, "second");
    ExpectRect(kMenu, layout.menu, "menu unchanged");
}

TEST(BarLayout, LongVerticalBarStretchesTheMenuDownwards) {
    auto layout = LayoutBarsAround(kMenu, {Vertical(1, 10)});  // 246 tall
    ExpectRect(Rect(70, 200, 100, 446), layout.placements[0].rect, "bar");
    EXPECT_EQ(446, layout.menu.bottom);
}

TEST(BarLayout, NarrowMenuGetsBarsOfAtLeast64Pixels) {
    const RECT narrow = Rect(300, 300, 340, 330);  // 40 x 30
    auto layout = LayoutBarsAround(narrow, {Horizontal(1, 1), Vertical(2, 1)});
    ExpectRect(Rect(300, 270, 364, 300), layout.placements[0].rect, "horizontal: 64 wide");
    // The span from the stack's top to the menu's bottom is 60: below 64, so the vertical
    // bar takes the menu's height (30), widened to its own length (30).
    ExpectRect(Rect(270, 270, 300, 300), layout.placements[1].rect, "vertical");
    EXPECT_EQ(364, layout.menu.right);
}

TEST(BarLayout, ExactlyMinimumExtentIsPlacedLikeAnyOther) {
    const RECT menu = Rect(0, 100, 64, 200);
    auto layout = LayoutBarsAround(menu, {Horizontal(1, 1)});
    ASSERT_EQ(1u, layout.placements.size());
    ExpectRect(Rect(0, 70, 64, 100), layout.placements[0].rect, "bar");
}

TEST(BarLayout, NoBarsLeavesTheMenuAlone) {
    auto layout = LayoutBarsAround(kMenu, {});
    EXPECT_TRUE(layout.placements.empty());
    ExpectRect(kMenu, layout.menu, "menu");
}

TEST(BarLayout, MenusFarDownAndRightOnLargeDesktopsAreLaidOutTheSameWay) {
    const RECT distant = Rect(2500, 1200, 2620, 1350);
    auto layout = LayoutBarsAround(distant, {Horizontal(1, 5), Vertical(2, 3)});
    ExpectRect(Rect(2500, 1170, 2626, 1200), layout.placements[0].rect, "horizontal");
    ExpectRect(Rect(2470, 1170, 2500, 1350), layout.placements[1].rect,
               "vertical level with the horizontal stack");
    EXPECT_EQ(2626, layout.menu.right) << "the menu meets the bar also far right";
}

TEST(BarLayout, MenuAtNegativeCoordinatesIsNotStretchedToTheOrigin) {
    const RECT left = Rect(-500, -300, -380, -150);
    auto layout = LayoutBarsAround(left, {Vertical(1, 2)});
    ExpectRect(left, layout.menu, "menu");
}
