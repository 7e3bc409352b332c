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
    // Shown and activated here, while the press that asked for the editor is the last input
    // this thread has read, and not left hidden until the dialog's loop first idles: the
    // dialog manager would give the first field the focus (and the dialog the activation) while
    // the window is still hidden. Under Wine the X server then refuses that keyboard focus (the
    // window is not mapped), and Wine asks again only when it hears of the mapping, with the
    // time of a later message, which the X server may refuse too: the keyboard stays with the
    // program the user was in, though the editor is the foreground window. Activated once it
    // is on screen, the focus is asked for with the time of the press, and taken.
    ShowWindow(Handle(), SW_SHOWNORMAL);
    // The user's own press, on a bar or in the settings window, asked for this editor, and this
    // process received that press: the system lets it take the foreground for the editor.
    SetForegroundWindow(Handle());
    // A wait of no time, as the dialog's loop makes a moment later: Wine hands its request for
    // the X keyboard to the X server only when the thread next looks for input, and until
    // then the system calls the editor foreground while typed keys still go to the program
    // beneath.
    MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
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
