// The 33 bar-window slots, indexed like barDefs: 0 the menu task bar, 1-3 the global bars,
// 4-32 the context bars. A menu bar's slot is empty while the bar is disabled.
#pragma once

#include <array>
#include <memory>

#include "model/BarModel.h"
#include "win/Attached.h"

namespace orvale {

class BarWindow;

// Owned through DestroyAndDelete: a bar may be replaced from inside its own handler (its
// editor runs there).
extern std::array<win::Owned<BarWindow>, kBarCount> BarTable;

// Creates and builds the task bar's window (slot 0); it exists even while disabled.
void CreateTaskBarWindow();
// Creates and builds the window of menu bar `number` if its slot is empty and it is not
// waiting for its turn (below).
void CreateMenuBarWindow(int number);
// Creates the windows of the enabled menu bars one at a time whenever the program has nothing
// else to do, so that a full configuration (two thousand buttons) does not hold up the start.
void CreateMenuBarWindowsInTurn();
// Creates at once those still waiting for their turn: a menu needs its bars now.
void CreatePendingMenuBarWindows();
void DestroyBarWindow(int number);
void DestroyAllBarWindows();
// At the end of the program: stops the turns and lets go of every bar object without
// destroying its window, so that nothing on the way out (the table's own destructor among
// them) destroys two thousand windows one by one. The process ends next, and takes the
// windows and the objects with it.
void LetGoOfAllBarWindows();

}  // namespace orvale
