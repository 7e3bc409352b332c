// The one way a bar is edited: the "TaskBar" dialog for the menu task bar, "Bar Properties"
// for the 32 menu bars.
#pragma once

#include <windows.h>

#include "model/BarModel.h"

namespace orvale {

// Edits `bar` in place; true when the user confirmed. A confirmed menu bar gets a new bar
// window (when enabled) and its items are saved at once; the task bar's "en" and "horiz" are
// saved at once. `owner` is the window the editor keeps disabled meanwhile, if any. While a
// bar editor is open (for any bar), it is brought to the front instead and this is false.
bool EditBar(BarDef& bar, HWND owner = nullptr);

}  // namespace orvale
