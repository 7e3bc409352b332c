#include "win/MouseButtons.h"

namespace win {

bool HeldForThisMessage(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

bool HeldNow(int vk) {
    // The system's own state is that of the physical buttons, before any swap.
    if (GetSystemMetrics(SM_SWAPBUTTON) && (vk == VK_LBUTTON || vk == VK_RBUTTON)) {
        vk = vk == VK_LBUTTON ? VK_RBUTTON : VK_LBUTTON;
    }
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

bool PressOnce::Take(int vk) {
    // Both reports of one press come within a few milliseconds; a hand presses a button again
    // only after a good deal longer.
    constexpr DWORD kSamePressMs = 300;
    const DWORD now = GetTickCount();
    if (vk == vk_ && now - at_ < kSamePressMs) return false;
    vk_ = vk;
    at_ = now;
    return true;
}

}  // namespace win
