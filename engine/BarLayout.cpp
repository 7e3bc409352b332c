#include "engine/BarLayout.h"

#include <algorithm>
#include <limits>

namespace orvale {
namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT MakeRect(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

class Layout {
public:
    Layout(const RECT& menu, const std::vector<LayoutBar>& bars) : menu_(menu), bars_(bars) {
        for (const LayoutBar& bar : bars) {
            maxWidth_ = std::max(maxWidth_, bar.naturalWidth);
            maxHeight_ = std::max(maxHeight_, bar.naturalHeight);
        }
    }

    BarLayoutResult Run() {
        for (const LayoutBar& bar : bars_) {
            if (bar.horizontal) PlaceHorizontal(bar);
        }
        for (const LayoutBar& bar : bars_) {
            if (!bar.horizontal) PlaceVertical(bar);
        }
        result_.menu = menu_;
        result_.menu.right = std::max<LONG>(menu_.right, rightMost_);
        result_.menu.bottom = std::max<LONG>(menu_.bottom, bottomMost_);
        return result_;
    }

private:
    // The last bar already placed with the same orientation, or else the menu.
    RECT Anchor(bool horizontal) const {
        for (auto it = result_.placements.rbegin(); it != result_.placements.rend(); ++it) {
            if (IsHorizontal(it->slot) == horizontal) return it->rect;
        }
        return menu_;
    }

    bool IsHorizontal(int slot) const {
        for (const LayoutBar& bar : bars_) {
            if (bar.slot == slot) return bar.horizontal;
        }
        return false;
    }

    void PlaceHorizontal(const LayoutBar& bar) {
        const RECT anchor = Anchor(true);
        int w = std::max({Width(anchor), kMinimumBarExtent, bar.naturalLength});
        const int y = anchor.top - bar.size.cy;
        Place(bar.slot, MakeRect(anchor.left, y, std::max(maxWidth_, w), bar.size.cy));
        topY_ = haveTop_ ? std::min(topY_, y) : y;
        haveTop_ = true;
        rightMost_ = anchor.left + w;
    }

    void PlaceVertical(const LayoutBar& bar) {
        const RECT anchor = Anchor(false);
        int h;
        if (!haveTop_) {
            // No horizontal bar: the vertical stack starts level with the menu's top.
            topY_ = anchor.top;
            haveTop_ = true;
            h = Height(anchor);
        } else {
            h = anchor.bottom - topY_;
            if (h < kMinimumBarExtent) h = Height(anchor);
        }
        h = std::max(h, bar.naturalLength);
        Place(bar.slot, MakeRect(anchor.left - bar.size.cx, topY_, bar.size.cx,
                                 std::max(maxHeight_, h)));
        bottomMost_ = topY_ + h;
    }

    void Place(int slot, const RECT& rect) { result_.placements.push_back({slot, rect}); }

    RECT menu_;
    const std::vector<LayoutBar>& bars_;
    BarLayoutResult result_;
    int maxWidth_ = 0;
    int maxHeight_ = 0;
    int topY_ = 0;
    bool haveTop_ = false;
    // Nothing placed means nothing to stretch to, also for menus at negative coordinates.
    LONG rightMost_ = std::numeric_limits<LONG>::min();
    LONG bottomMost_ = std::numeric_limits<LONG>::min();
};

}  // namespace

BarLayoutResult LayoutBarsAround(const RECT& menu, const std::vector<LayoutBar>& bars) {
    return Layout(menu, bars).Run();
}

}  // namespace orvale
