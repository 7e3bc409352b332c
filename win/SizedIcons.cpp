#include "win/SizedIcons.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <initializer_list>

namespace win {
namespace {

// IID_IImageList, which not every SDK's libraries define.
const IID kImageListInterface = {0x46eb5926, 0x582e, 0x4017,
                                 {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};

// `icon` at exactly `size`, made from it when it is of another size.
HICON AtSize(HICON icon, int size) {
    if (!icon) return nullptr;
    ICONINFO info = {};
    BITMAP bitmap = {};
    if (GetIconInfo(icon, &info)) {
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    if (bitmap.bmWidth == size) return icon;
    HICON sized = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, size, size, 0));
    DestroyIcon(icon);
    return sized;
}

// The shell's image list of the smallest icons that are at least `size` (the largest there is
// when none is that big); null when the shell keeps none.
HIMAGELIST ShellImageList(int size) {
    HIMAGELIST chosen = nullptr;
    for (int kind : {SHIL_SMALL, SHIL_LARGE, SHIL_EXTRALARGE}) {
        IUnknown* list = nullptr;
        if (FAILED(SHGetImageList(kind, kImageListInterface, reinterpret_cast<void**>(&list))) ||
            !list) {
            continue;
        }
        // The interface is the image list itself; the shell keeps it for the process's life.
        chosen = reinterpret_cast<HIMAGELIST>(list);
        list->Release();
        int cx = 0, cy = 0;
        if (ImageList_GetIconSize(chosen, &cx, &cy) && cx >= size) break;
    }
    return chosen;
}

}  // namespace

HICON LoadResourceIcon(HMODULE module, int resourceId, int size) {
    return static_cast<HICON>(LoadImageW(module ? module : GetModuleHandleW(nullptr),
                                         MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, 0));
}

HICON LoadFileIcon(const std::wstring& file, int index, int size) {
    HICON icon = nullptr;
    const UINT sizes = MAKELONG(size, size);
    if (SHDefExtractIconW(file.c_str(), index, 0, &icon, nullptr, sizes) == S_OK && icon) {
        return AtSize(icon, size);
    }
    // Some systems extract only at their own two sizes: the nearer one, made to fit.
    const bool small = size <= GetSystemMetrics(SM_CXSMICON);
    icon = nullptr;
    ExtractIconExW(file.c_str(), index, small ? nullptr : &icon, small ? &icon : nullptr, 1);
    return AtSize(icon, size);
}

HICON LoadShellIcon(const std::wstring& path, int size) {
    if (path.empty()) return nullptr;
    SHFILEINFOW info = {};
    if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX)) {
        if (HIMAGELIST list = ShellImageList(size)) {
            if (HICON icon = ImageList_GetIcon(list, info.iIcon, ILD_NORMAL)) {
                return AtSize(icon, size);
            }
        }
    }
    const bool small = size <= GetSystemMetrics(SM_CXSMICON);
    info = {};
    if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info,
                        SHGFI_ICON | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON))) {
        return nullptr;
    }
    return AtSize(info.hIcon, size);
}

}  // namespace win
