#include "app/Program.h"

#include <commctrl.h>

#include "app/HostFrame.h"
#include "resources/resource.h"
#include "win/Handles.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32  // SDKs older than Windows 8's
#define LOAD_LIBRARY_SEARCH_APPLICATION_DIR 0x200
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x800
#endif

namespace orvale {
namespace {

// Libraries are looked for in the system folder and the program's own folder only: never in
// the current folder or along the search path, where anybody may leave a library of a name the
// program or a shell extension asks for. Windows 8 (and 7 with update KB2533623) has
// SetDefaultDllDirectories; older systems at least keep the current folder out.
void LimitLibrarySearch() {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    auto setDirectories = reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDirectories) {
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    }
    SetDllDirectoryW(L"");
}

// One piece of what a process's token says; false when it cannot be asked (elevation before
// Vista, a process the program may not look at).
template <typename T>
bool TokenValue(HANDLE process, TOKEN_INFORMATION_CLASS what, T& value) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) return false;
    win::KernelHandle token(raw);
    DWORD size = 0;
    return GetTokenInformation(token.Get(), what, &value, sizeof value, &size) != FALSE;
}

// Started as administrator while the desktop's own programs are not: Windows keeps them from
// posting to a program above them, so their clicks never reach this one, and every item it
// starts runs as administrator. (Where every program is elevated, as when user account control
// is off, or under Wine, nothing is different.) Without a desktop shell to compare with, the
// elevated half of a split token is what tells.
bool ElevatedAboveTheDesktop() {
    TOKEN_ELEVATION own = {};
    if (!TokenValue(GetCurrentProcess(), TokenElevation, own) || !own.TokenIsElevated) {
        return false;
    }
    HWND shell = GetShellWindow();
    if (!shell) shell = FindWindowW(L"Shell_TrayWnd", nullptr);
    DWORD shellProcess = 0;
    if (shell) GetWindowThreadProcessId(shell, &shellProcess);
    win::KernelHandle desktop(
        shellProcess ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellProcess)
                     : nullptr);
    TOKEN_ELEVATION desktopElevation = {};
    if (desktop && TokenValue(desktop.Get(), TokenElevation, desktopElevation)) {
        return !desktopElevation.TokenIsElevated;
    }
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    return TokenValue(GetCurrentProcess(), TokenElevationType, type) &&
           type == TokenElevationTypeFull;
}

void TellAboutElevation() {
    MessageBoxW(nullptr,
                L"Orvale was started as administrator.\n\n"
                L"Its bars will not appear beside the menus of programs that do not run as "
                L"administrator, and every item on its bars starts its program as "
                L"administrator.\n\nTo use Orvale as usual, end it and start it again without "
                L"\"Run as administrator\".",
                L"Orvale", MB_OK | MB_ICONWARNING);
}

}  // namespace

bool AnotherCopyIsRunning() {
    // Only the settings window of a running copy counts: other programs' windows titled
    // "Orvale" that are not dialogs must not keep the program from starting, and neither
    // must a refused copy's message box, a dialog of the same title that outlives the copy
    // it refused. The settings window is the one with the tabs.
    HWND candidate = nullptr;
    while ((candidate = FindWindowExW(nullptr, candidate, L"#32770", L"Orvale")) != nullptr) {
        if (GetDlgItem(candidate, IDC_TABS)) return true;
    }
    return false;
}

int RunProgram() {
    LimitLibrarySearch();
    if (AnotherCopyIsRunning()) {
        MessageBoxW(nullptr, L"\"Orvale\" is already running.", L"Orvale", MB_OK);
        return 0;
    }
    // Told once, and the program goes on: the user may have meant it.
    if (ElevatedAboveTheDesktop()) TellAboutElevation();
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    HostFrame frame;
    return frame.Run();
}

}  // namespace orvale
