// Driving the program's modal dialogs in the test's own process: while the code under test
// runs a dialog modally, a timer that its modal loop dispatches plays the test's steps on the
// dialogs as they come up (each step names the dialog by its caption).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

using DialogAction = std::function<void(HWND dialog)>;
using DialogStep = std::pair<std::string, DialogAction>;  // a dialog's caption, what to do

// Runs `showDialogs` while the steps are played in order, each on the first shown, enabled
// dialog of this thread with its caption (a dialog with another dialog open above it is
// disabled). True when every step ran; dialogs still open after `timeoutMs` are cancelled. A
// step may play steps of its own; the outer steps go on once they are done.
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
// Puts text into a control as typing would (the control notifies its dialog of the change).
void TypeInto(HWND dialog, int id, const std::wstring& text);
std::wstring TextOf(HWND dialog, int id);
// Answers the system's open-file dialog as a user typing a full path and pressing OK would.
void ChooseInFileDialog(HWND fileDialog, const std::wstring& path);

}  // namespace testing_support
