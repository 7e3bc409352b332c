// Finding another program's popup menu near the cursor.
//
// The probe order decides which window is found: the cursor's own point, then the four corners
// of squares around it at distances 8 to 41, and the first window under one of those points
// that looks like a popup menu of another program wins. Asking the window manager for the
// window under all 137 points is what made a search that finds nothing cost milliseconds; the
// search below first lists the few top-level windows that could be accepted at all and asks
// only about points that lie on one of them, which finds the same window in the same order.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

namespace orvale {

constexpr int kProbeNearest = 8;
constexpr int kProbeFarthest = 41;
constexpr size_t kProbeCount = 1 + 4 * (kProbeFarthest - kProbeNearest + 1);

// The probe points around `p`, in the order they are asked.
std::array<POINT, kProbeCount> ProbePoints(POINT p);

// The first of `points`, in order, that lies inside one of `areas`, starting at `from`;
// kProbeCount when none does.
size_t NextPointInside(const std::array<POINT, kProbeCount>& points, size_t from,
                       const std::vector<RECT>& areas);

// Whether `window` shows anything: visible, not minimised, not empty, and not a layered window
// made wholly transparent. Applications close their own menu windows in all these ways: they
// destroy or hide them, or fade them out (or move them away, which the tracker tells).
bool ShowsAnything(HWND window);

// Whether `window` is a popup menu of another thread that shows anything: a system menu
// window ("#32768"), or an enabled popup without system menu or sizing frame that is no bar of
// ours and stays above other windows: topmost, or owned by another window and without caption
// (an application's menu drawn above its own window); never a tooltip, a dialog or a button.
bool LooksLikeForeignMenu(HWND window);

// Whether a top-level window that another thread has just created or shown may turn out to be
// such a menu once it is on screen: a system menu window, or any popup that is not a tooltip,
// a dialog or a button.
bool MayBecomeForeignMenu(HWND window);

// The window rectangles of the top-level windows that look like a foreign menu.
std::vector<RECT> CandidateMenuAreas();

// Each search passes over `pressed`, the top-level window the user right-clicked: a window is
// never the menu that a press on it opens, however much it looks like one (a program may draw
// its whole window as a caption-less popup).

// The plain probe: every point in order, the first window that looks like a foreign menu; null
// when none does.
HWND ProbeForMenu(POINT p, HWND pressed = nullptr);
// The same answer, asking only about points that lie on a candidate. Popup menus are top-level
// windows, and a point is answered by the window on top there, which lies within its top-level
// window's rectangle: a point on no candidate can only be answered by a window that is no menu.
HWND SearchForMenu(POINT p, HWND pressed = nullptr);
// The search when `shown`, a window that may be the menu, has just come on screen: it is asked
// about first, alone, which spares listing the desktop's windows; the whole search follows when
// no probe point finds it a foreign menu. A window that has just shown lies above every menu
// shown before it, so the answer differs from SearchForMenu's only where another menu is open
// near the cursor at the same moment.
HWND SearchForMenuShown(POINT p, HWND shown, HWND pressed = nullptr);

}  // namespace orvale
