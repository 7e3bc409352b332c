// Orvale's own macro tool, "ovmacro.exe", ships beside orvale.exe. It becomes the macro tool
// wherever none is registered yet, or the registered one is gone; a tool that is there is
// never replaced.
#pragma once

#include <string>

namespace orvale {

constexpr const wchar_t* kOwnMacroToolName = L"ovmacro.exe";

// Writes the full command of `folder`\ovmacro.exe, quoted, into "path" of the exchange file
// when that names no program that exists and the tool is in `folder`. True when it wrote.
bool RegisterOwnMacroTool(const std::wstring& folder);

}  // namespace orvale
