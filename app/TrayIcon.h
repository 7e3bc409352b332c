// The notification-area icon and its menu.
#pragma once

#include <windows.h>

namespace orvale {

class TrayIcon {
public:
    ~TrayIcon() { Remove(); }
    // Adds the icon (id 126, callback message 126 to `owner`, tip "Orvale").
    void Add(HWND owner);
    void Remove();
    // Shows the tray menu at the cursor, with the check mark of Enable from `enabled`; its
    // commands go to `owner`.
    void ShowMenu(HWND owner, bool enabled);

private:
    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
};

}  // namespace orvale
