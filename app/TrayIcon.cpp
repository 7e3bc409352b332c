#include "app/TrayIcon.h"

#include <shellapi.h>

#include <cwchar>

#include "resources/resource.h"
#include "win/Handles.h"
#include "win/ProgramWindows.h"

namespace orvale {

void TrayIcon::Add(HWND owner) {
    if (!icon_) {
        // A shared icon from the program's resources: nothing to destroy. The notification
        // area shows icons at the system's small-icon size, 16 x 16 at 96 DPI.
        icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                              MAKEINTRESOURCEW(IDI_ORVALE), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    }
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = ORVALE_TRAY_ID;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = ORVALE_TRAY_MESSAGE;
    data.hIcon = icon_;
    std::wcscpy(data.szTip, L"Orvale");
    if (Shell_NotifyIconW(NIM_ADD, &data)) owner_ = owner;
}

void TrayIcon::Remove() {
    if (!owner_) return;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = ORVALE_TRAY_ID;
    Shell_NotifyIconW(NIM_DELETE, &data);
    owner_ = nullptr;
}

void TrayIcon::ShowMenu(HWND owner, bool enabled) {
    POINT cursor;
    GetCursorPos(&cursor);
    // The menu closes on a click elsewhere only when one of our windows is in front.
    SetForegroundWindow(win::HostFrameWindow());
    win::MenuHandle menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU)));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.Get(), 0);
    CheckMenuItem(popup, IDM_ENABLE, MF_BYCOMMAND | (enabled ? MF_CHECKED : MF_UNCHECKED));
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x - 4, cursor.y - 4, 0, owner,
                   nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace orvale
