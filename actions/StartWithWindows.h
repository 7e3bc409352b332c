// "Start with Windows": a shortcut to this copy of the program in the user's Startup folder,
// which the shell opens when the user logs on. The shortcut is the setting, and it is the
// user's own: one made, renamed or deleted by hand counts just the same, and nothing else
// about it is stored anywhere.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orvale {

// The user's Startup folder, made when `create` is set and it is missing; empty when the shell
// names none.
std::wstring StartupFolder(bool create = false);

// The file a shortcut starts, as the shell's link object reads it; empty when it cannot.
std::wstring ShortcutTarget(const std::wstring& linkPath);

// The shortcuts in `folder` that start `program`.
std::vector<std::wstring> ShortcutsTo(const std::wstring& folder, const std::wstring& program);

// Whether a shortcut in the Startup folder starts this program file.
bool StartsWithWindows();

// On: a shortcut to this program file in the Startup folder, named "Orvale.lnk" (or
// "Orvale (2).lnk"... when that name is taken), unless one is there already. Off: every
// shortcut there that starts this copy goes; those to anything else, other copies of the
// program included, stay. S_OK, or the first failure.
HRESULT SetStartWithWindows(bool on);

}  // namespace orvale
