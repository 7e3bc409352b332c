// The program's side of the hook library "_ovdll.dll": loads it from the program's folder and
// installs or removes the global mouse hook whose procedure lives in it.
#pragma once

namespace orvale {

// Loads "_ovdll.dll" beside the program and remembers its hand-over entry; false when it is
// missing.
bool LoadHookLibrary();
// Installs (on) or removes (off) the global mouse hook. A failed install leaves no hook and is
// tried again every 50 ms until it succeeds or the hook is no longer wanted.
void SetMouseHook(bool on);
bool MouseHookInstalled();
// While suspended the hook stays removed, whatever the tracker asks for (a file dialog of the
// program is open); resuming installs it again.
void SuspendMouseHook(bool suspend);

}  // namespace orvale
