// "Add Special Key": lets the user pick one of the key-sequence language's special keys.
#pragma once

#include <windows.h>

#include <string>

namespace orvale {

// Shows the special keys by name, in the language's own order; on "Add" gives back the chosen
// key's token ("Alt" gives "<alt>"). False when cancelled.
bool AskSpecialKey(HWND owner, std::wstring& token);

}  // namespace orvale
