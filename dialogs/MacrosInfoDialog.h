// "Macros": what macros are for, and where the macro tool comes from. Shown instead of a
// macro command while the tool is not installed, and by "More about macros".
#pragma once

#include <windows.h>

#include <string>

namespace orvale {

void ShowMacrosInformation(HWND owner);

// The help page beside the program, at its section on macros: "file:///...ovehelp.htm#macros".
std::wstring MacrosHelpAddress();

}  // namespace orvale
