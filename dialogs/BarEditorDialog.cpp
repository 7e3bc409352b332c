#include "dialogs/BarEditorDialog.h"

#include "engine/BarsOnScreen.h"
#include "resources/resource.h"
#include "win/ProgramWindows.h"

namespace orvale {
namespace {

constexpr UINT kReleasePollMs = 20;

bool MouseButtonHeld() {
    for (int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) {
        if (GetAsyncKeyState(button) & 0x8000) return true;
    }
    return false;
}

}  // namespace

void BarEditorDialog::OpenInFront() {
    win::SetBarEditorWindow(Handle());
    // The bars make way, but not from under a held button. A bar moved away while the press
    // that opened this editor is still down lets the release fall on the program beneath it,
    // which opens its own context menu over the editor, and that menu takes the keyboard and
    // the next click. (Under Wine the bar off-screen is even unmapped, which ends the X
    // server's hold of the press on the bar.)
    barsToHide_ = MouseButtonHeld();
    if (barsToHide_) {
        SetTimer(Handle(), IDT_HIDE_BARS, kReleasePollMs, nullptr);
    } else {
        HideAllBars();
    }
    // Shown and brought to the front at once, not when the dialog's loop first idles. The
    // user's own press, on a bar or in the settings window, asked for this editor, and this
    // process received that press: the system lets it take the foreground for the editor.
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
}

bool BarEditorDialog::OnTimer(UINT_PTR id) {
    if (id != IDT_HIDE_BARS) return false;
    if (MouseButtonHeld()) return true;
    KillTimer(Handle(), IDT_HIDE_BARS);
    barsToHide_ = false;
    HideAllBars();
    return true;
}

void BarEditorDialog::OnDestroy() {
    if (barsToHide_) {
        KillTimer(Handle(), IDT_HIDE_BARS);
        HideAllBars();
    }
    if (win::BarEditorWindow() == Handle()) win::SetBarEditorWindow(nullptr);
}

bool BringOpenBarEditorToFront() {
    HWND editor = win::BarEditorWindow();
    if (!editor) return false;
    // While the macro tool records, the editor is hidden on purpose and stays so.
    if (!IsWindowVisible(editor)) return true;
    if (IsIconic(editor)) ShowWindow(editor, SW_RESTORE);
    // An item editor or a message open above it is what takes the keys; it is asked for by
    // the user's own press, which this process received.
    SetForegroundWindow(GetLastActivePopup(editor));
    return true;
}

}  // namespace orvale
