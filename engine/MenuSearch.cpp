#include "engine/MenuSearch.h"

#include <cwchar>

#include "engine/BarsOnScreen.h"
#include "win/ProgramWindows.h"

namespace orvale {
namespace {

bool IsNeverAMenuClass(const wchar_t* name) {
    return !std::wcscmp(name, L"tooltips_class32") || !std::wcscmp(name, L"#32770") ||
           !std::wcscmp(name, L"Button");
}

// An application-drawn popup menu: a visible, enabled popup without system menu or sizing
// frame that stays above other windows. Some stay above all of them, topmost as the system's
// own menus are; others stay above their own window only, owned by it and without a caption.
bool StyledLikePopupMenu(HWND window) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    const LONG required = WS_POPUP | WS_VISIBLE;
    const LONG excluded = WS_DISABLED | WS_SYSMENU | WS_THICKFRAME;
    if ((style & required) != required || (style & excluded) != 0 || IsBarWindow(window)) {
        return false;
    }
    if (exStyle & WS_EX_TOPMOST) return true;
    return (style & WS_CAPTION) != WS_CAPTION && GetWindow(window, GW_OWNER) != nullptr;
}

BOOL CALLBACK CollectCandidate(HWND window, LPARAM lp) {
    // Most top-level windows are hidden, and a hidden window is under no point: the style is
    // the cheapest question, so it comes first.
    if ((GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) == 0) return TRUE;
    // The system calls this: no exception may cross back into it. The list ends where it failed.
    try {
        RECT rect;
        if (LooksLikeForeignMenu(window) && GetWindowRect(window, &rect)) {
            reinterpret_cast<std::vector<RECT>*>(lp)->push_back(rect);
        }
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

std::array<POINT, kProbeCount> ProbePoints(POINT p) {
    std::array<POINT, kProbeCount> points;
    size_t next = 0;
    // The cursor's own point opens every pass; it is the same point each time, so it is
    // asked once.
    points[next++] = p;
    for (int d = kProbeNearest; d <= kProbeFarthest; ++d) {
        points[next++] = {p.x - d, p.y - d};
        points[next++] = {p.x + d, p.y - d};
        points[next++] = {p.x + d, p.y + d};
        points[next++] = {p.x - d, p.y + d};
    }
    return points;
}

size_t NextPointInside(const std::array<POINT, kProbeCount>& points, size_t from,
                       const std::vector<RECT>& areas) {
    for (size_t i = from; i < kProbeCount; ++i) {
        for (const RECT& area : areas) {
            if (PtInRect(&area, points[i])) return i;
        }
    }
    return kProbeCount;
}

bool ShowsAnything(HWND window) {
    if (!window || !IsWindowVisible(window) || IsIconic(window)) return false;
    RECT rect;
    if (!GetWindowRect(window, &rect) || IsRectEmpty(&rect)) return false;
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) {
        BYTE alpha = 255;
        DWORD flags = 0;
        if (GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) &&
            alpha == 0) {
            return false;
        }
    }
    return true;
}

bool LooksLikeForeignMenu(HWND window) {
    if (!window) return false;
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (IsNeverAMenuClass(name)) return false;
    if (std::wcscmp(name, L"#32768") != 0 && !StyledLikePopupMenu(window)) return false;
    return !win::IsOwnThreadWindow(window) && ShowsAnything(window);
}

bool MayBecomeForeignMenu(HWND window) {
    if (!window || GetAncestor(window, GA_PARENT) != GetDesktopWindow()) return false;
    if (win::IsOwnThreadWindow(window)) return false;
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (IsNeverAMenuClass(name)) return false;
    // Style and topmost place may yet change as it is shown; a popup it must be already.
    return std::wcscmp(name, L"#32768") == 0 || (GetWindowLongW(window, GWL_STYLE) & WS_POPUP) != 0;
}

std::vector<RECT> CandidateMenuAreas() {
    std::vector<RECT> areas;
    // The desktop's list of windows, in one question; under Wine EnumWindows takes some forty
    // times as long for the same windows.
    EnumDesktopWindows(nullptr, CollectCandidate, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

namespace {

bool IsMenuFor(HWND window, HWND pressed) {
    return window != pressed && LooksLikeForeignMenu(window);
}

}  // namespace

HWND ProbeForMenu(POINT p, HWND pressed) {
    for (const POINT& point : ProbePoints(p)) {
        HWND window = WindowFromPoint(point);
        if (IsMenuFor(window, pressed)) return window;
    }
    return nullptr;
}

namespace {

HWND ProbeWithin(POINT p, const std::vector<RECT>& areas, HWND pressed) {
    if (areas.empty()) return nullptr;
    const std::array<POINT, kProbeCount> points = ProbePoints(p);
    for (size_t i = NextPointInside(points, 0, areas); i < kProbeCount;
         i = NextPointInside(points, i + 1, areas)) {
        HWND window = WindowFromPoint(points[i]);
        if (IsMenuFor(window, pressed)) return window;
    }
    return nullptr;
}

}  // namespace

HWND SearchForMenu(POINT p, HWND pressed) {
    return ProbeWithin(p, CandidateMenuAreas(), pressed);
}

HWND SearchForMenuShown(POINT p, HWND shown, HWND pressed) {
    RECT rect;
    if (shown && IsMenuFor(shown, pressed) && GetWindowRect(shown, &rect)) {
        if (HWND menu = ProbeWithin(p, {rect}, pressed)) return menu;
    }
    return SearchForMenu(p, pressed);
}

}  // namespace orvale
