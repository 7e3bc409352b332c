// Where the bars go around a menu: plain arithmetic on rectangles, no windows involved.
//
// Horizontal bars stack upwards from the menu's top edge, left-aligned with it, all as wide
// as the widest of them or the menu; vertical bars stack leftwards from the menu's left edge,
// their tops level with the top of the horizontal stack (or the menu's top), all as tall as
// the tallest of them or the span down to the menu's bottom. The menu is then stretched to
// the right edge of the horizontal stack and down to the bottom of the vertical stack.
//
// Every bar stays inside the work area of the menu's monitor. A bar that would stick out
// along the menu's edge is shifted along it. A stack that finds no room on its usual side
// goes to the opposite one: horizontal bars stack downwards from the menu's bottom edge (the
// menu is then widened as usual but not lengthened, the bars lie against its bottom), vertical
// bars stack rightwards from the right edge of the menu and its horizontal bars. Where
// neither side has room, the stack keeps its side and is pushed inside over the menu's edge.
// Vertical bars start level with the menu's top instead of the horizontal stack's top when
// a horizontal bar had to move over the space they would take. When everything fits, the
// placement is exactly the one described above.
#pragma once

#include <windows.h>

#include <vector>

namespace orvale {

// Bars narrower or shorter than this along the menu are widened to it (at 96 DPI; scaled to
// the DPI of the menu's monitor).
constexpr int kMinimumBarExtent = 64;

struct LayoutBar {
    int slot = 0;             // bar number; bars are given in slot order
    bool horizontal = true;
    SIZE size = {0, 0};       // the bar window's current size
    int naturalWidth = 0;
    int naturalHeight = 0;
    int naturalLength = 0;    // length along the bar's axis for its buttons
};

struct BarPlacement {
    int slot = 0;
    RECT rect = {0, 0, 0, 0};
};

struct BarLayoutResult {
    std::vector<BarPlacement> placements;  // every horizontal bar first, then the vertical ones
    RECT menu = {0, 0, 0, 0};              // the menu's rectangle after stretching
};

// Lays out the applicable bars (in slot order) around a menu whose window rectangle is `menu`,
// inside `workArea`, the work area of the menu's monitor, whose DPI is `dpi`.
BarLayoutResult LayoutBarsAround(const RECT& menu, const std::vector<LayoutBar>& bars,
                                 const RECT& workArea, UINT dpi);

}  // namespace orvale
