#include "win/ProgramWindows.h"

namespace win {
namespace {

HWND g_hostFrame = nullptr;
HWND g_settingsWindow = nullptr;
HWND g_barEditor = nullptr;

// Static initialisation runs on the thread that starts the program: its user-interface thread.
const DWORD g_uiThread = GetCurrentThreadId();

}  // namespace

HWND HostFrameWindow() { return g_hostFrame; }
void SetHostFrameWindow(HWND frame) { g_hostFrame = frame; }
HWND SettingsWindowHandle() { return g_settingsWindow; }
void SetSettingsWindowHandle(HWND settings) { g_settingsWindow = settings; }
HWND BarEditorWindow() { return g_barEditor; }
void SetBarEditorWindow(HWND editor) { g_barEditor = editor; }

bool IsOwnThreadWindow(HWND window) {
    return window && GetWindowThreadProcessId(window, nullptr) == g_uiThread;
}

}  // namespace win
