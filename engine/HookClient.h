// The program's side of the hook library "_ovdll.dll": loads it from the program's folder and
// installs or removes the global mouse hook whose procedure lives in it.
#pragma once

#include <windows.h>

#include "win/Handles.h"

namespace orvale {

// Loads "_ovdll.dll" beside the program and remembers its hand-over entry; false when it is
// missing.
bool LoadHookLibrary();
// Installs (on) or removes (off) the global mouse hook. A failed install leaves no hook and is
// tried again every 50 ms until it succeeds or the hook is no longer wanted. Before its first
// install it publishes the settings window as where the reports go; while it cannot (another
// program holds the record's name), the hook stays out.
void SetMouseHook(bool on);
bool MouseHookInstalled();
// While suspended the hook stays removed, whatever the tracker asks for (a file dialog of the
// program is open); resuming installs it again.
void SuspendMouseHook(bool suspend);

// Makes the record that tells the hook library, in every program of this user and session,
// to post its reports to `window` of this process (hook/ReportTarget.h). Every program of the
// user may read it, sandboxed ones included; nobody may write to it or change who may, its
// owner included; only the returned handle, which keeps it in being, could still write. Null
// when its name is already taken: someone else made that record, so it is not trusted, and not
// written to.
win::KernelHandle PublishReportTarget(HWND window);

}  // namespace orvale
