// "About Orvale": the program's version and build number, as the resources carry them.
#pragma once

#include <windows.h>

namespace orvale {

void ShowAbout(HWND owner);

}  // namespace orvale
