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

// The 16 x 16 icon of an attributed item by its icon rule (loadItemIcon), once per icon file
// and number, or once per file whose shell icon it shows.
SharedIcon ItemIcon(const BarItem& item);
// One of the program's own icon resources at 16 x 16.
SharedIcon ProgramIcon(int resourceId);
// The first small icon of a program file.
SharedIcon FileIcon(const std::wstring& path);
// An icon of its own (a copy of another window's), held by whoever holds the result.
SharedIcon OwnIcon(HICON icon);

}  // namespace orvale
