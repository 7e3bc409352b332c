#include "engine/Tracker.h"

#include "app/Services.h"

namespace orvale {

HWND menuWindow = nullptr;
int searchTicks = -1;
int foundGrace = 0;
HWND pointedWindow = nullptr;
HWND MenuOwnerWindow = nullptr;
HWND LastForeignWindow = nullptr;
int dismissPending = 0;

void TrackerTick() {
    HWND foreground = GetForegroundWindow();
    if (foreground && !IsOwnThreadWindow(foreground)) LastForeignWindow = foreground;
}

bool TrackerCommand(int id) {
    switch (id) {
    case 114:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP: case WM_NCRBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

}  // namespace orvale
