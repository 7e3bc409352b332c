// "Macro file": which macro file to pick a macro from. The last file confirmed is kept in
// "brfile" of "options" and offered the next time.
#pragma once

#include <windows.h>

#include <string>

namespace orvale {

// The file offered while none was confirmed yet: "samples.brd" in the folder of the macro
// tool's program, as its command `toolCommand` names it (the program may be in quotes). A
// bare program name is looked for on the search path; failing that, this program's folder.
std::wstring SampleMacroFile(const std::wstring& toolCommand);

// Shows the dialog; on OK stores the chosen path in the settings, saves them and gives back
// the path in `file`. False when cancelled.
bool chooseMacroFile(HWND owner, std::wstring& file);

}  // namespace orvale
