// Where bars go around a menu, checked on rectangles alone.
#include <gtest/gtest.h>

#include "engine/BarLayout.h"

using namespace orvale;

namespace {

// A bar of `buttons` buttons (24 pixels at 96 DPI) in a 3-pixel frame.
LayoutBar Bar(int slot, bool horizontal, int buttons, int button) {
    LayoutBar bar;
    bar.slot = slot;
    bar.horizontal = horizontal;
    bar.naturalLength = button * buttons + 6;
    bar.naturalWidth = horizontal ? bar.naturalLength : button + 6;
    bar.naturalHeight = horizontal ? button + 6 : bar.naturalLength;
    bar.size = {bar.naturalWidth, bar.naturalHeight};
    return bar;
}
LayoutBar H(int slot, int buttons, int button = 24) { return Bar(slot, true, buttons, button); }
LayoutBar V(int slot, int buttons, int button = 24) { return Bar(slot, false, buttons, button); }

struct Case {
    const char* name;
    RECT menu;
    std::vector<LayoutBar> bars;
    std::vector<BarPlacement> placed;  // in placing order
    RECT stretchedMenu;
    UINT dpi = 96;  // of the menu's monitor
};

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void ExpectLayout(const Case& c, const RECT& workArea) {
    SCOPED_TRACE(c.name);
    BarLayoutResult layout = LayoutBarsAround(c.menu, c.bars, workArea, c.dpi);
    ASSERT_EQ(c.placed.size(), layout.placements.size());
    for (size_t i = 0; i < c.placed.size(); ++i) {
        EXPECT_EQ(c.placed[i].slot, layout.placements[i].slot);
        EXPECT_TRUE(Same(c.placed[i].rect, layout.placements[i].rect)) << "bar " << i;
    }
    EXPECT_TRUE(Same(c.stretchedMenu, layout.menu)) << "menu";
}

// Room for everything: the layout must not move a thing.
const RECT kRoomy = {-100000, -100000, 100000, 100000};

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
        {"at 150 % the bars are at least 96 pixels", {300, 300, 340, 330},
         {H(1, 1, 36), V(2, 1, 36)},
         {{1, {300, 258, 396, 300}}, {2, {258, 258, 300, 300}}}, {300, 300, 396, 330}, 144},
        {"at 200 % the bars are at least 128 pixels", {300, 300, 340, 330},
         {H(1, 1, 48), V(2, 1, 48)},
         {{1, {300, 246, 428, 300}}, {2, {246, 246, 300, 300}}}, {300, 300, 428, 330}, 192},
        {"exactly 64 pixels is placed like any other", {0, 100, 64, 200}, {H(1, 1)},
         {{1, {0, 70, 64, 100}}}, {0, 100, 64, 200}},
        {"far down and right on a large desktop", {2500, 1200, 2620, 1350}, {H(1, 5), V(2, 3)},
         {{1, {2500, 1170, 2626, 1200}}, {2, {2470, 1170, 2500, 1350}}},
         {2500, 1200, 2626, 1350}},
        {"negative coordinates are not stretched to the origin", {-500, -300, -380, -150},
         {V(1, 2)}, {{1, {-530, -300, -500, -150}}}, {-500, -300, -380, -150}},
        {"no bars", menu, {}, {}, menu},
    };
    for (const Case& c : cases) ExpectLayout(c, kRoomy);
}

TEST(BarLayout, BarsStayInsideTheWorkAreaOfTheMenusMonitor) {
    const RECT screen = {0, 0, 1024, 738};  // the taskbar below
    const RECT second = {-1280, 0, 0, 1024};  // a monitor left of the primary one
    const struct {
        RECT work;
        Case c;
    } cases[] = {
        {screen, {"right edge: the bar moves left along the menu's top", {870, 300, 990, 450},
                  {H(1, 8)}, {{1, {826, 270, 1024, 300}}}, {870, 300, 1024, 450}}},
        {screen, {"right edge: vertical bars then stand beside the menu alone",
                  {870, 300, 990, 450}, {H(1, 8), V(2, 3)},
                  {{1, {826, 270, 1024, 300}}, {2, {840, 300, 870, 450}}},
                  {870, 300, 1024, 450}}},
        {screen, {"left edge: vertical bars go right of the menu and its horizontal bars",
                  {5, 300, 125, 450}, {H(1, 5), V(2, 3)},
                  {{1, {5, 270, 131, 300}}, {2, {131, 270, 161, 450}}}, {5, 300, 131, 450}}},
        {screen, {"top edge: horizontal bars stack below the menu, which is not lengthened",
                  {300, 10, 420, 160}, {H(1, 5), V(2, 3), H(3, 3)},
                  {{1, {300, 160, 426, 190}}, {3, {300, 190, 426, 220}},
                   {2, {270, 10, 300, 220}}},
                  {300, 10, 426, 160}}},
        {screen, {"bottom edge: a long vertical bar moves up along the menu's side",
                  {300, 600, 420, 730}, {V(1, 10)}, {{1, {270, 492, 300, 738}}},
                  {300, 600, 420, 738}}},
        {screen, {"no room above or below: pushed down over the menu", {300, 5, 420, 730},
                  {H(1, 5)}, {{1, {300, 0, 426, 30}}}, {300, 5, 426, 730}}},
        {screen, {"no room left or right: pushed right over the menu", {10, 300, 1010, 450},
                  {V(1, 2)}, {{1, {0, 300, 30, 450}}}, {10, 300, 1010, 450}}},
        {second, {"second monitor, its right edge", {-110, 400, -10, 500}, {H(1, 5)},
                  {{1, {-126, 370, 0, 400}}}, {-110, 400, 0, 500}}},
        {second, {"second monitor, its left edge", {-1275, 400, -1155, 500}, {V(1, 3)},
                  {{1, {-1155, 400, -1125, 500}}}, {-1275, 400, -1155, 500}}},
    };
    for (const auto& c : cases) ExpectLayout(c.c, c.work);
}
