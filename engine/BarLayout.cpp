#include "engine/BarLayout.h"

#include <algorithm>
#include <limits>

#include "win/Dpi.h"

namespace orvale {
namespace {

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

RECT MakeRect(LONG x, LONG y, LONG width, LONG height) { return {x, y, x + width, y + height}; }

// Where something `length` long that would start at `start` goes so that it lies within
// [low, high]: moved back inside, and when it is longer than the room, its start kept in view.
LONG Inside(LONG start, LONG length, LONG low, LONG high) {
    return std::max(low, std::min(start, high - length));
}

class Layout {
public:
    Layout(const RECT& menu, const std::vector<LayoutBar>& bars, const RECT& workArea, UINT dpi)
        : menu_(menu), bars_(bars), work_(workArea),
          minimumExtent_(win::Scale(kMinimumBarExtent, dpi)), blockRight_(menu.right) {
        for (const LayoutBar& bar : bars) {
            maxWidth_ = std::max(maxWidth_, bar.naturalWidth);
            maxHeight_ = std::max(maxHeight_, bar.naturalHeight);
        }
    }

    BarLayoutResult Run() {
        ChooseHorizontalSide();
        for (const LayoutBar& bar : bars_) {
            if (bar.horizontal) PlaceHorizontal(bar);
        }
        ChooseVerticalSide();
        for (const LayoutBar& bar : bars_) {
            if (!bar.horizontal) PlaceVertical(bar);
        }
        result_.menu = menu_;
        result_.menu.right = std::max<LONG>(menu_.right, rightMost_);
        // Horizontal bars below the menu lie against its bottom edge: it cannot grow there.
        if (!horizontalBelow_) result_.menu.bottom = std::max<LONG>(menu_.bottom, bottomMost_);
        return result_;
    }

private:
    // How far the stack of one orientation reaches away from the menu.
    LONG StackDepth(bool horizontal) const {
        LONG depth = 0;
        for (const LayoutBar& bar : bars_) {
            if (bar.horizontal == horizontal) depth += horizontal ? bar.size.cy : bar.size.cx;
        }
        return depth;
    }

    // Above the menu; below it when there is no room above; when there is room on neither
    // side, above it and pushed down over its top.
    void ChooseHorizontalSide() {
        const LONG depth = StackDepth(true);
        const LONG top = menu_.top - depth;
        if (depth == 0 || top >= work_.top) return;
        if (menu_.bottom + depth <= work_.bottom) {
            horizontalBelow_ = true;
        } else {
            pushDown_ = work_.top - top;
        }
    }

    // Left of the menu; right of the menu and its horizontal bars when there is no room on the
    // left; when there is room on neither side, on the left and pushed over the menu.
    void ChooseVerticalSide() {
        const LONG depth = StackDepth(false);
        const LONG left = menu_.left - depth;
        if (depth > 0 && left < work_.left) {
            if (blockRight_ + depth <= work_.right) {
                verticalRight_ = true;
            } else {
                pushRight_ = work_.left - left;
            }
        }
        // A horizontal bar shifted left lies where the vertical stack would rise beside it:
        // the vertical bars then stand beside the menu alone.
        besideMenuOnly_ = horizontalOverLeft_ && !verticalRight_;
        if (besideMenuOnly_) haveTop_ = false;
    }

    // Where a stack starts when none of its bars is placed yet.
    RECT HorizontalStart() const {
        RECT start = menu_;
        start.top += pushDown_;
        return start;
    }
    RECT VerticalStart() const {
        RECT start = menu_;
        start.left += pushRight_;
        if (verticalRight_) start.right = blockRight_;
        if (horizontalBelow_ && !besideMenuOnly_) {
            start.bottom = std::max<LONG>(start.bottom, horizontalBottom_);
        }
        return start;
    }

    // The last bar already placed with the same orientation, or else where the stack starts.
    RECT Anchor(bool horizontal) const {
        for (auto it = result_.placements.rbegin(); it != result_.placements.rend(); ++it) {
            if (IsHorizontal(it->slot) == horizontal) return it->rect;
        }
        return horizontal ? HorizontalStart() : VerticalStart();
    }

    bool IsHorizontal(int slot) const {
        for (const LayoutBar& bar : bars_) {
            if (bar.slot == slot) return bar.horizontal;
        }
        return false;
    }

    void PlaceHorizontal(const LayoutBar& bar) {
        const RECT anchor = Anchor(true);
        const LONG w = std::max<LONG>({Width(anchor), minimumExtent_, bar.naturalLength});
        const LONG width = std::max<LONG>(maxWidth_, w);
        const LONG x = Inside(anchor.left, width, work_.left, work_.right);
        const LONG y = horizontalBelow_ ? anchor.bottom : anchor.top - bar.size.cy;
        Place(bar.slot, MakeRect(x, y, width, bar.size.cy));
        if (horizontalBelow_) {
            horizontalBottom_ = y + bar.size.cy;
        } else {
            topY_ = haveTop_ ? std::min(topY_, y) : y;
            haveTop_ = true;
        }
        rightMost_ = x + w;
        blockRight_ = std::max(blockRight_, x + width);
        if (x < menu_.left) horizontalOverLeft_ = true;
    }

    void PlaceVertical(const LayoutBar& bar) {
        const RECT anchor = Anchor(false);
        LONG h;
        if (!haveTop_) {
            // No horizontal bar above: the vertical stack starts level with the menu's top.
            topY_ = anchor.top;
            haveTop_ = true;
            h = Height(anchor);
        } else {
            h = anchor.bottom - topY_;
            if (h < minimumExtent_) h = Height(anchor);
        }
        h = std::max<LONG>(h, bar.naturalLength);
        const LONG height = std::max<LONG>(maxHeight_, h);
        const LONG x = verticalRight_ ? anchor.right : anchor.left - bar.size.cx;
        const LONG y = Inside(topY_, height, work_.top, work_.bottom);
        Place(bar.slot, MakeRect(x, y, bar.size.cx, height));
        bottomMost_ = y + h;
    }

    void Place(int slot, const RECT& rect) { result_.placements.push_back({slot, rect}); }

    RECT menu_;
    const std::vector<LayoutBar>& bars_;
    RECT work_;
    LONG minimumExtent_;
    BarLayoutResult result_;
    int maxWidth_ = 0;
    int maxHeight_ = 0;
    LONG topY_ = 0;
    bool haveTop_ = false;
    // Nothing placed means nothing to stretch to, also for menus at negative coordinates.
    LONG rightMost_ = std::numeric_limits<LONG>::min();
    LONG bottomMost_ = std::numeric_limits<LONG>::min();

    // Where the stacks went to stay inside the work area.
    bool horizontalBelow_ = false;
    bool verticalRight_ = false;
    LONG pushDown_ = 0;
    LONG pushRight_ = 0;
    bool horizontalOverLeft_ = false;
    bool besideMenuOnly_ = false;
    LONG horizontalBottom_ = 0;
    LONG blockRight_;  // the right edge of the menu and its horizontal bars
};

}  // namespace

BarLayoutResult LayoutBarsAround(const RECT& menu, const std::vector<LayoutBar>& bars,
                                 const RECT& workArea, UINT dpi) {
    return Layout(menu, bars, workArea, dpi).Run();
}

}  // namespace orvale
