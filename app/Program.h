#pragma once

#include <windows.h>

namespace orvale {

// The program: refuses a second copy, then runs the host frame until it closes.
int RunProgram();

// Whether a running copy's settings window (a dialog titled "Orvale") exists.
bool AnotherCopyIsRunning();

}  // namespace orvale
