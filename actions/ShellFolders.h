// Folders where programs and shortcuts are likely to be found, where the item editor's ">>"
// menu starts its file dialog.
#pragma once

#include <string>

namespace orvale {

enum class SpecialFolder { Desktop = 1, StartMenu = 2, Windows = 3, System = 4, ProgramFiles = 5 };

// What a folder is worked out from.
struct FolderFacts {
    std::wstring shellAnswer;       // the folder the shell names; empty when it names none
    std::wstring windowsDirectory;
    std::wstring userName;          // empty when unknown
    bool windowsNT = true;
};

// The shell's answer when there is one. Without it, the layout of the oldest systems: the
// Windows directory, "\Profiles\<user>" for a user's folders (on Windows 95/98 only when a
// user is known), "\System32" on NT or "\System", and "C:\Program Files".
std::wstring SpecialFolderFrom(SpecialFolder kind, const FolderFacts& facts);

// The folder on this machine. Nothing checks that it exists.
std::wstring SpecialFolderPath(SpecialFolder kind);

}  // namespace orvale
