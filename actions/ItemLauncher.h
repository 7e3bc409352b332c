// Runs what a bar button stands for, against the window in which the menu was opened.
#pragma once

#include <windows.h>

#include "model/BarModel.h"

namespace orvale {

// A click on a bar button: `type` is the item's type code (101 for an attributed item, whose
// view is `item`; 102-110 for the built-in commands). `barWindow` is the bar that was clicked.
void DispatchItemClick(HWND barWindow, int type, const BarItem& item);
// The second step of Switch Windows, posted to the bar by the first.
void ContinueSwitchWindows(HWND barWindow);

}  // namespace orvale
