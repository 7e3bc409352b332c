// The tool's messages to the user, all under its own name.
#pragma once

#include <windows.h>

#include <string>

namespace ovmacro {

constexpr const wchar_t* kToolTitle = L"Orvale Macros";

// A message box above everything, so a message of a tool started in the background is seen.
void Tell(HWND owner, const std::wstring& text);

}  // namespace ovmacro
