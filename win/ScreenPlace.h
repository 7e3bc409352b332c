// Where the program's own windows open on a desktop of one or more monitors, some of them at
// negative coordinates, and one of them perhaps gone since a place was saved.
#pragma once

#include <windows.h>

namespace win {

// `window` moved the least way that puts it inside `area`; one larger than the area keeps its
// left or top edge on the area's, so its caption stays in reach.
RECT MovedInside(const RECT& window, const RECT& area);

// `window` where it is when it lies inside the work area of the monitor it is most on, else
// moved inside the work area of the monitor nearest to it: a place saved on a monitor that is
// no longer there, or partly off the screen, becomes one the user can see and reach.
RECT OnAMonitor(const RECT& window);

// Centres a dialog in the work area of the monitor its owner is on, or, without an owner on
// screen, of the monitor under the cursor, where the user is working: an editor opened by a
// press on a bar opens on that bar's monitor.
void CentreOnWorkingMonitor(HWND dialog);

}  // namespace win
