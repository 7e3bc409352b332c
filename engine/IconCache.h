// Icons shared by the buttons that show the same picture. A full configuration holds two
// thousand buttons but only a handful of different icons, and every icon costs the process
// GDI objects: each icon is loaded once, for as long as a button shows it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "model/BarModel.h"
#include "win/Handles.h"

namespace orvale {

// An icon, or an empty handle when none could be had; destroyed with its last holder.
using SharedIcon = std::shared_ptr<const win::IconHandle>;

// Each icon is loaded at the size it is drawn at (`size` pixels square), from the file's image
// of that size where it has one: bars at another DPI show other sizes of the same icons.

// The icon of an attributed item by its icon rule (loadItemIcon), once per icon file and
// number, or once per file whose shell icon it shows.
SharedIcon ItemIcon(const BarItem& item, int size);
// One of the program's own icon resources.
SharedIcon ProgramIcon(int resourceId, int size);
// The first icon of a program file.
SharedIcon FileIcon(const std::wstring& path, int size);
// An icon of its own (a copy of another window's), held by whoever holds the result.
SharedIcon OwnIcon(HICON icon);

}  // namespace orvale
