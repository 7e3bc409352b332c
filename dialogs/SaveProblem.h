// Telling the user that the settings could not be saved: they must act on it (close the
// program that holds the file, free the disk), so it is said in plain words, naming the file
// and the reason, and said once, not on every window move.
#pragma once

#include <windows.h>

#include <functional>

#include "model/SettingsDocument.h"

namespace orvale {

// After a save: a failure is told once (until a save succeeds again); the changes stay in
// memory for the next save.
void ReportSave(HWND owner, const FileError& result);

// At exit or shutdown: saves and, while that fails, asks whether to try again or to go on
// without saving; a failure that trying again cannot mend (the file was never read) is only
// told. Returns whether the settings are saved.
bool SaveBeforeLeaving(HWND owner, const std::function<FileError()>& save);

// At start-up, when the settings file exists but could not be read.
void ReportUnreadableSettings(HWND owner, const FileError& error);

}  // namespace orvale
