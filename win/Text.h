// Window titles, read one way and compared one way everywhere: context lists and title items
// must agree on whether a title contains a fragment.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// The whole text of a window: a top-level window's title, a control's text. Empty for a
// window that is gone.
std::string WindowText(HWND window);

// The text in lower case by the system's rules for the user's language, so letters beyond
// A to Z (accented, Cyrillic, Greek) compare without regard to case too.
std::string LowerCase(std::string text);

// Whether `fragment` occurs anywhere in `text`, ignoring case as LowerCase does.
bool ContainsIgnoringCase(const std::string& text, const std::string& fragment);

}  // namespace win
