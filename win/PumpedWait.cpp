#include "win/PumpedWait.h"

#include <windows.h>

namespace win {

void PumpedWait(unsigned ms) {
    const DWORD end = GetTickCount() + ms;
    // Compared as a signed difference so a wait across the 49.7-day wrap still ends.
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The quit belongs to the message loop; leave it there and stop waiting.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
    }
}

}  // namespace win
