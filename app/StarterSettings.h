// The settings a first start begins with: a few bars that work on every Windows, kept in the
// program's resources, so that the very first right-click shows what the program does.
#pragma once

#include <windows.h>

#include <string>

namespace orvale {

// Writes the starter settings to `path` unless a file of that name exists, whatever it holds
// (an empty or damaged file is the user's and stays as it is). True when the file was written.
bool WriteStarterSettingsIfMissing(const std::wstring& path);

// The same for a path in the ANSI code page, as settingsPath gives it.
inline bool WriteStarterSettingsIfMissing(const std::string& path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 1) return false;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return WriteStarterSettingsIfMissing(wide);
}

}  // namespace orvale
