// Driving dialogs through their controls: the program's modal dialogs in the test's own
// process, where a timer that their modal loops dispatch plays the test's steps on them as
// they come up, and the dialogs and menus of the real program in its own process.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Harness.h"

namespace testing_support {

using DialogAction = std::function<void(HWND dialog)>;
using DialogStep = std::pair<std::string, DialogAction>;  // a dialog's caption, what to do
constexpr const char* kMenu = "#32768";  // the caption of a step on this thread's next menu

// Runs `showDialogs` while the steps are played in order, each on the first shown, enabled
// dialog of this thread with its caption (a dialog with another dialog open above it is
// disabled). True when every step ran; dialogs and menus still open after `timeoutMs` are
// cancelled. A step may play steps of its own; the outer steps go on once they are done.
bool PlayDialogs(std::vector<DialogStep> steps, const std::function<void()>& showDialogs,
                 DWORD timeoutMs = 10000);

// Runs `dialog` (anything with INT_PTR Run(HWND)) modally while `drive` works it; the dialog's
// result, or -2 when `drive` never got to run.
template <typename ModalDialog>
INT_PTR RunDriven(ModalDialog& dialog, const std::string& caption, const DialogAction& drive) {
    INT_PTR result = -2;
    bool ran = PlayDialogs({{caption, drive}}, [&] { result = dialog.Run(nullptr); });
    return ran ? result : -2;
}

// A click on a dialog's button, as the button itself sends it (the button need not be
// visible), handled before this returns.
void Press(HWND dialog, int id, UINT code = BN_CLICKED);
DialogAction Pressing(int id);
// Presses button `id` and plays `steps` on what it opens; true when every step ran.
bool PressPlaying(HWND dialog, int id, std::vector<DialogStep> steps);
// Puts text into a control as typing would (the control notifies its dialog of the change).
void TypeInto(HWND dialog, int id, const std::wstring& text);
// The text of a dialog's control, of this process or another.
std::wstring TextOf(HWND dialog, int id);
// The rows of a list box of any process.
std::vector<std::wstring> ListRows(HWND listBox);
// Answers the system's open-file dialog as a user typing a full path and pressing OK would.
void ChooseInFileDialog(HWND fileDialog, const std::wstring& path);
// Chooses entry `index` (separators not counted) of an open menu of any process with the
// keys; Home first, as the pointer under a menu may already have chosen an entry.
void PickEntry(HWND menu, int index);

// Whether a dialog has gone (destroyed or hidden) within the usual wait.
bool Gone(HWND dialog);
// The number of rows of the bar editor's item list.
size_t BarEditorRows(HWND editor);

// The real program's visible top-level window with `caption` once it is in front (InFront);
// null if none comes in time or it does not come to the front.
HWND ProgramWindow(Orvale& orvale, const std::string& caption);
// The real program's popup menu on screen (null if none comes in time).
HWND ProgramMenu(Orvale& orvale, DWORD timeoutMs = 5000);
// Shows the settings window as the tray's "Settings..." does and waits until it is restored
// on the screen (a restore that a busy desktop lost is asked for again); null if it is not.
HWND ShowSettings(Orvale& orvale);

}  // namespace testing_support
