#include "win/ScreenPlace.h"

namespace win {
namespace {

LONG Shift(LONG low, LONG high, LONG areaLow, LONG areaHigh) {
    if (high > areaHigh) return areaHigh - high;
    if (low < areaLow) return areaLow - low;
    return 0;
}

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) return info.rcWork;
    RECT area = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

}  // namespace

RECT MovedInside(const RECT& window, const RECT& area) {
    RECT moved = window;
    // Right and bottom first, so that a window too large for the area ends at its left or top.
    OffsetRect(&moved, Shift(moved.left, moved.right, area.left, area.right),
               Shift(moved.top, moved.bottom, area.top, area.bottom));
    OffsetRect(&moved, moved.left < area.left ? area.left - moved.left : 0,
               moved.top < area.top ? area.top - moved.top : 0);
    return moved;
}

RECT OnAMonitor(const RECT& window) {
    return MovedInside(window, WorkAreaOf(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST)));
}

void CentreOnWorkingMonitor(HWND dialog) {
    const HWND owner = GetWindow(dialog, GW_OWNER);
    HMONITOR monitor = nullptr;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
        monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTONULL);
    }
    if (!monitor) {
        POINT cursor = {};
        GetCursorPos(&cursor);
        monitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
    }
    const RECT area = WorkAreaOf(monitor);
    RECT rect;
    if (!GetWindowRect(dialog, &rect)) return;
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    RECT centred = {(area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2, 0,
                    0};
    centred.right = centred.left + width;
    centred.bottom = centred.top + height;
    centred = MovedInside(centred, area);
    SetWindowPos(dialog, nullptr, centred.left, centred.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace win
