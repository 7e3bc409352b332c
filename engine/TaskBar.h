// The menu task bar: the bar in slot 0, whose buttons are the open windows of other programs.
#pragma once

#include <windows.h>

namespace orvale {

class BarWindow;

// Rebuilds the task bar's buttons from the visible, responsive, titled top-level windows of
// other threads that have an icon and are not tool windows, ordered by handle value.
void FillTaskBar(BarWindow& taskBar);
// Whether `window` answers a null message within 250 ms (always true for our own windows).
bool IsResponsive(HWND window);
// The window's icon (drag icon, small, big, class icon), as a copy the caller owns.
HICON QueryWindowIcon(HWND window);

}  // namespace orvale
