// Where bars go around a menu, checked on rectangles alone.
#include <gtest/gtest.h>

#include "engine/BarLayout.h"

using namespace orvale;

namespace {

// A bar of `buttons` 24-pixel buttons in a 3-pixel frame.
LayoutBar Bar(int slot, bool horizontal, int buttons) {
    LayoutBar bar;
    bar.slot = slot;
    bar.horizontal = horizontal;
    bar.naturalLength = 24 * buttons + 6;
    bar.naturalWidth = horizontal ? bar.naturalLength : 30;
    bar.naturalHeight = horizontal ? 30 : bar.naturalLength;
    bar.size = {bar.naturalWidth, bar.naturalHeight};
    return bar;
}
LayoutBar H(int slot, int buttons) { return Bar(slot, true, buttons); }
LayoutBar V(int slot, int buttons) { return Bar(slot, false, buttons); }

struct Case {
    const char* name;
    RECT menu;
    std::vector<LayoutBar> bars;
    std::vector<BarPlacement> placed;  // in placing order
    RECT stretchedMenu;
};

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(BarLayout, BarsStackAroundTheMenuWhichIsStretchedToMeetThem) {
    const RECT menu = {100, 200, 220, 350};  // 120 x 150
    const Case cases[] = {
        {"horizontal bar wider than the menu", menu, {H(1, 5)},
         {{1, {100, 170, 226, 200}}}, {100, 200, 226, 350}},
        {"horizontal bar narrower than the menu", menu, {H(2, 2)},
         {{2, {100, 170, 220, 200}}}, menu},
        {"two horizontal bars share one width", menu, {H(1, 5), H(3, 3)},
         {{1, {100, 170, 226, 200}}, {3, {100, 140, 226, 170}}}, {100, 200, 226, 350}},
        {"horizontal bars first; vertical level with their top, down to the menu bottom", menu,
         {V(1, 3), H(2, 5)},
         {{2, {100, 170, 226, 200}}, {1, {70, 170, 100, 350}}}, {100, 200, 226, 350}},
        {"vertical bars stack leftwards from the menu top", menu, {V(1, 2), V(2, 3)},
         {{1, {70, 200, 100, 350}}, {2, {40, 200, 70, 350}}}, menu},
        {"a long vertical bar stretches the menu down", menu, {V(1, 10)},
         {{1, {70, 200, 100, 446}}}, {100, 200, 220, 446}},
        {"a narrow menu gets bars of at least 64 pixels", {300, 300, 340, 330},
         {H(1, 1), V(2, 1)},
         {{1, {300, 270, 364, 300}}, {2, {270, 270, 300, 300}}}, {300, 300, 364, 330}},
        {"exactly 64 pixels is placed like any other", {0, 100, 64, 200}, {H(1, 1)},
         {{1, {0, 70, 64, 100}}}, {0, 100, 64, 200}},
        {"far down and right on a large desktop", {2500, 1200, 2620, 1350}, {H(1, 5), V(2, 3)},
         {{1, {2500, 1170, 2626, 1200}}, {2, {2470, 1170, 2500, 1350}}},
         {2500, 1200, 2626, 1350}},
        {"negative coordinates are not stretched to the origin", {-500, -300, -380, -150},
         {V(1, 2)}, {{1, {-530, -300, -500, -150}}}, {-500, -300, -380, -150}},
        {"no bars", menu, {}, {}, menu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BarLayoutResult layout = LayoutBarsAround(c.menu, c.bars);
        ASSERT_EQ(c.placed.size(), layout.placements.size());
        for (size_t i = 0; i < c.placed.size(); ++i) {
            EXPECT_EQ(c.placed[i].slot, layout.placements[i].slot);
            EXPECT_TRUE(Same(c.placed[i].rect, layout.placements[i].rect)) << "bar " << i;
        }
        EXPECT_TRUE(Same(c.stretchedMenu, layout.menu)) << "menu";
    }
}
