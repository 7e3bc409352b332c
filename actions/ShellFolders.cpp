#include "actions/ShellFolders.h"

#include <windows.h>
#include <shlobj.h>

namespace orvale {
namespace {

int ShellFolderId(SpecialFolder kind) {
    switch (kind) {
    case SpecialFolder::Desktop: return CSIDL_DESKTOPDIRECTORY;
    case SpecialFolder::StartMenu: return CSIDL_STARTMENU;
    case SpecialFolder::Windows: return CSIDL_WINDOWS;
    case SpecialFolder::System: return CSIDL_SYSTEM;
    case SpecialFolder::ProgramFiles: return CSIDL_PROGRAM_FILES;
    }
    return -1;
}

std::wstring ShellAnswer(SpecialFolder kind) {
    wchar_t path[MAX_PATH] = {};
    int id = ShellFolderId(kind);
    if (id < 0 || FAILED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return std::wstring();
    }
    return path;
}

std::wstring WindowsDirectory() {
    wchar_t path[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryW(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? path : L"";
}

std::wstring UserName() {
    wchar_t name[257] = {};
    DWORD size = 257;
    return GetUserNameW(name, &size) ? name : L"";
}

}  // namespace

std::wstring SpecialFolderFrom(SpecialFolder kind, const FolderFacts& facts) {
    if (!facts.shellAnswer.empty()) return facts.shellAnswer;
    if (kind == SpecialFolder::ProgramFiles) return L"C:\\Program Files";
    const std::wstring& windows = facts.windowsDirectory;
    const bool knownUser = !facts.userName.empty();
    const std::wstring user = knownUser ? facts.userName : L"All Users";
    // On NT every user's folders lie under Profiles, "All Users" standing in for an unknown
    // user; Windows 95/98 keep them there only for a user who logged on.
    const std::wstring profile =
        facts.windowsNT || knownUser ? L"\\Profiles\\" + user : std::wstring();
    switch (kind) {
    case SpecialFolder::Desktop: return windows + profile + L"\\Desktop";
    case SpecialFolder::StartMenu: return windows + profile + L"\\Start Menu";
    case SpecialFolder::System: return windows + (facts.windowsNT ? L"\\System32" : L"\\System");
    default: return windows;
    }
}

std::wstring SpecialFolderPath(SpecialFolder kind) {
    FolderFacts facts;
    facts.shellAnswer = ShellAnswer(kind);
    if (facts.shellAnswer.empty()) {
        facts.windowsDirectory = WindowsDirectory();
        facts.userName = UserName();
        // A Unicode program runs only on the NT family.
        facts.windowsNT = true;
    }
    return SpecialFolderFrom(kind, facts);
}

}  // namespace orvale
