// The program's own long-lived windows, known to every floor: the engine, the actions and the
// dialogs need to find them or tell them from other programs' windows.
#pragma once

#include <windows.h>

namespace win {

// Where windows that are kept out of sight are moved (bars between menus, the host frame).
constexpr int kOffScreen = 10000;

// The hidden host frame: the application's main window and owner of its other windows.
HWND HostFrameWindow();
void SetHostFrameWindow(HWND frame);
// The settings window: the hook library's reports and the tracker's own commands go to it.
HWND SettingsWindowHandle();
void SetSettingsWindowHandle(HWND settings);

// The one bar editor open now ("Bar Properties" or "TaskBar"), null while none is: set by the
// editor while it is open, read by whoever would open another or show bars beside a menu.
HWND BarEditorWindow();
void SetBarEditorWindow(HWND editor);

// Whether `window` was created by the program's user-interface thread (the thread that started
// the program): the settings window, the bars, their buttons and tooltips, the program's own menus.
bool IsOwnThreadWindow(HWND window);

}  // namespace win
