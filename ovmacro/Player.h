// Playing a macro into the window in front: keys through the key-sequence player that
// key-sequence items use, clicks at their point in that window, pauses and waits. The Pause
// key stops it between steps and during waits.
#pragma once

#include <vector>

#include "ovmacro/MacroFile.h"

namespace ovmacro {

// False when the Pause key stopped it.
bool PlaySteps(const std::vector<Step>& steps);

}  // namespace ovmacro
