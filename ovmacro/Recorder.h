// Recording: keys and clicks of every program, through the system's low-level hooks, until
// the user presses Stop in the small "Recording" window or the Pause key. The window stays
// on top and never takes the keyboard; neither it nor the Pause key is recorded.
#pragma once

#include <string>
#include <vector>

#include "ovmacro/MacroFile.h"

namespace ovmacro {

// The steps recorded; false, with the reason in words for the user, when nothing could be
// recorded at all.
bool RecordSteps(std::vector<Step>& steps, std::wstring& why);

}  // namespace ovmacro
