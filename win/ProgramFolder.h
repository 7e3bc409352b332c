// The folder of the program's executable, where the files it ships with lie: its hook library,
// its settings, its icons and help page.
#pragma once

#include <string>

namespace win {

// The program's folder, a backslash and `fileName`: a full path, whatever the current folder.
std::wstring BesideProgram(const std::wstring& fileName);

}  // namespace win
