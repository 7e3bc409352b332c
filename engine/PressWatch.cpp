#include "engine/PressWatch.h"

#include <windows.h>

#include "engine/BarsOnScreen.h"
#include "win/MouseButtons.h"

namespace orvale {
namespace {

// Often enough to see the shortest click a hand makes.
constexpr UINT kWatchMs = 10;

UINT_PTR g_timer = 0;
bool g_leftDown = false;
bool g_rightDown = false;

// A button that goes down over a bar is a press on that bar, whether the menu's program took
// it or, the menu being gone already, the bar itself did (the bar knows a press it was told
// twice); one that was down already when the watch began is not.
void LookAt(int vk, bool& wasDown) {
    const bool down = win::HeldNow(vk);
    if (down && !wasDown) PressClosedMenuOverBars(vk);
    wasDown = down;
}

void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD) {
    // The system calls this: no exception may cross back into it.
    try {
        LookAt(VK_LBUTTON, g_leftDown);
        LookAt(VK_RBUTTON, g_rightDown);
    } catch (...) {
    }
}

}  // namespace

void WatchPressesOnBars(bool on) {
    if (on == (g_timer != 0)) return;
    if (!on) {
        KillTimer(nullptr, g_timer);
        g_timer = 0;
        return;
    }
    g_leftDown = win::HeldNow(VK_LBUTTON);
    g_rightDown = win::HeldNow(VK_RBUTTON);
    g_timer = SetTimer(nullptr, 0, kWatchMs, Look);
}

}  // namespace orvale
