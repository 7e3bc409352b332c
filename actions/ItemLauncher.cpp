#include "actions/ItemLauncher.h"

#include "engine/BarWindow.h"
#include "engine/Tracker.h"

namespace orvale {

// The actions behind the buttons arrive with the launcher; until then a click only closes
// the bars like any click on a bar does.
void DispatchItemClick(HWND, int, const BarItem&) {
    dismissPending = 1;
    HideAllBars();
}

void ContinueSwitchWindows(HWND) {
    dismissPending = 1;
    HideAllBars();
}

}  // namespace orvale
