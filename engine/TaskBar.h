// The menu task bar: the bar in slot 0, whose buttons are the open windows of other programs.
#pragma once

#include <windows.h>

#include "engine/IconCache.h"
#include "engine/WindowQuestions.h"

namespace orvale {

class BarWindow;

// Rebuilds the task bar's buttons from the visible, responsive, titled top-level windows of
// other threads that have an icon and are not tool windows, ordered by handle value. A window
// that does not answer in its share of the press's question budget is left out. The buttons
// are of the task bar's DPI.
void FillTaskBar(BarWindow& taskBar);
// Collects those windows ahead of a menu, for the next FillTaskBar within a search's time:
// the program has time to spare between a right press and its menu, and asking every window
// whether it answers, and for its icon, is the slow part of a fill.
void PrepareTaskBar();
// Whether `window` answers a null message within its share of `budget` (always true for our
// own windows).
bool IsResponsive(HWND window, QuestionBudget& budget);
// The window's icon (drag icon, small, big, class icon) as a copy of its own, or else the
// icon of its program file at `size`; null or empty when there is none. Its questions come
// out of `budget`.
SharedIcon QueryWindowIcon(HWND window, QuestionBudget& budget, int size);

}  // namespace orvale
