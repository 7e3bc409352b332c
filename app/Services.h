// Small services of the application shell that the bar engine and the actions use everywhere.
#pragma once

#include <windows.h>

namespace orvale {

// Bars appear beside menus only while set; toggled by the Enable command, never stored.
extern int globalEnable;
// Set by the Exit commands; the next close of the settings window ends the program.
extern int exitRequested;

// Waits `ms` milliseconds while dispatching this thread's messages, sleeping 1 ms between
// polls, so timer ticks and clicks are handled meanwhile.
void PumpedWait(unsigned ms);

// Loads "_ovdll.dll" by name and remembers its hand-over entry; false when it is missing.
bool LoadHookLibrary();
// Installs (on) or removes (off) the global mouse hook whose procedure lives in the hook
// library. A failed install leaves no hook; the tracker simply asks again on a later tick.
void SetMouseHook(bool on);
bool MouseHookInstalled();
// While suspended the hook stays removed, whatever the tracker asks for (the Select File
// dialog is open); resuming installs it again.
void SuspendMouseHook(bool suspend);

// The program's windows and thread, for the parts that need to tell them apart.
HWND HostFrameWindow();
HWND SettingsWindowHandle();
DWORD UiThreadId();
bool IsOwnThreadWindow(HWND window);

void SetHostFrameWindow(HWND frame);
void SetSettingsWindowHandle(HWND settings);

}  // namespace orvale
