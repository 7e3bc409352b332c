// Telling a press the mouse made from one another program made up. Windows names no sender for
// a posted message, so a window that acts on presses asks the input state instead: a press
// message the mouse made comes with its button down in the thread's input state, and the
// button is down in the system's state for as long as the user holds it.
#pragma once

#include <windows.h>

namespace win {

// Whether mouse button `vk` (VK_LBUTTON, VK_RBUTTON, VK_MBUTTON) is down as this thread's
// input has it while it handles the current message.
bool HeldForThisMessage(int vk);

// Whether mouse button `vk`, as programs see it (swapped buttons included), is down now.
bool HeldNow(int vk);

// Tells a press from a second report of the same press: a bar beside another program's menu
// may hear of one press both from the mouse and from the watch (engine/PressWatch.h).
class PressOnce {
public:
    // True for a press of `vk` reported now, false when it is the press taken last, reported
    // again a moment later.
    bool Take(int vk);

private:
    int vk_ = 0;
    DWORD at_ = 0;
};

}  // namespace win
