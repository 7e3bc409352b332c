#include "app/Program.h"

#include <commctrl.h>

#include "app/HostFrame.h"
#include "resources/resource.h"

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
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    HostFrame frame;
    return frame.Run();
}

}  // namespace orvale
