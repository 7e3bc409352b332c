// Icons loaded at the size they are drawn at. An icon file holds images of several sizes; the
// one of the size asked for is taken where there is one, and where there is none the system
// makes one from the nearest, rather than the program stretching a 16- or 32-pixel image.
// Each returns an icon the caller owns (DestroyIcon), or null.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// An icon resource of `module` (null: the program's own).
HICON LoadResourceIcon(HMODULE module, int resourceId, int size);
// Icon `index` of a file (.ico, .exe, .dll...), counted as ExtractIconEx counts: from 0, or a
// resource id when negative.
HICON LoadFileIcon(const std::wstring& file, int index, int size);
// The shell's icon of a file, folder or document, as Explorer shows it.
HICON LoadShellIcon(const std::wstring& path, int size);

}  // namespace win
