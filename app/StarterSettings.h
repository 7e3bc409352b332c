// The settings a first start begins with: a few bars that work on every Windows, kept in the
// program's resources, so that the very first right-click shows what the program does.
#pragma once

#include <windows.h>

#include <string>

namespace orvale {

// Writes the starter settings to `path` unless a file of that name exists, whatever it holds
// (an empty or damaged file is the user's and stays as it is). True when the file was written.
bool WriteStarterSettingsIfMissing(const std::wstring& path);

}  // namespace orvale
