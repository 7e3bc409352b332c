#include "app/Program.h"

#include <commctrl.h>

#include "app/HostFrame.h"
#include "resources/resource.h"

namespace orvale {

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
