// Text as the program keeps it: UTF-16, as the wide-character Windows functions take it.
// Window titles are read one way and compared one way everywhere: context lists and title
// items must agree on whether a title contains a fragment.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// The whole text of a window: a top-level window's title, a control's text. Empty for a
// window that is gone.
std::wstring WindowText(HWND window);

// The text in lower case by the system's rules, for every script (accented Latin, Cyrillic,
// Greek...), so "БЛОКНОТ" and "Блокнот" compare alike.
std::wstring LowerCase(std::wstring text);

// Whether `fragment` occurs anywhere in `text`, ignoring case as LowerCase does.
bool ContainsIgnoringCase(const std::wstring& text, const std::wstring& fragment);

// Conversions at the edges where bytes meet text (files and programs that speak a code page).
std::wstring Widen(const std::string& bytes, UINT codePage = CP_ACP);
std::string Narrow(const std::wstring& text, UINT codePage = CP_ACP);

}  // namespace win
