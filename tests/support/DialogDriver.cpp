#include "DialogDriver.h"

#include "Harness.h"

namespace testing_support {
namespace {

std::vector<DialogStep> g_steps;
size_t g_next = 0;
DWORD g_deadline = 0;

// Runs the next step on its dialog once that dialog is shown and enabled; once the time is up,
// cancels every such dialog instead.
void CALLBACK PlayNextStep(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), [](HWND dialog, LPARAM) -> BOOL {
        if (ClassOf(dialog) != "#32770" || !IsWindowVisible(dialog) || !IsWindowEnabled(dialog)) {
            return TRUE;
        }
        if (static_cast<LONG>(GetTickCount() - g_deadline) > 0) {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        } else if (g_next < g_steps.size() && TitleOf(dialog) == g_steps[g_next].first) {
            // A copy: the step may play steps of its own, which replace the list meanwhile.
            DialogAction action = g_steps[g_next++].second;
            action(dialog);
            return FALSE;
        }
        return TRUE;
    }, 0);
}

}  // namespace

bool PlayDialogs(std::vector<DialogStep> steps, const std::function<void()>& showDialogs,
                 DWORD timeoutMs) {
    std::vector<DialogStep> outerSteps = std::move(g_steps);
    const size_t outerNext = g_next;
    const DWORD outerDeadline = g_deadline;
    g_steps = std::move(steps);
    g_next = 0;
    g_deadline = GetTickCount() + timeoutMs;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, PlayNextStep);
    showDialogs();
    KillTimer(nullptr, timer);
    const bool allRan = g_next == g_steps.size();
    g_steps = std::move(outerSteps);
    g_next = outerNext;
    g_deadline = outerDeadline;
    return allRan;
}

void Press(HWND dialog, int id, UINT code) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void TypeInto(HWND dialog, int id, const std::wstring& text) {
    SetDlgItemTextW(dialog, id, text.c_str());
}

std::wstring TextOf(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    int got = GetWindowTextW(control, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

void ChooseInFileDialog(HWND fileDialog, const std::wstring& path) {
    // The file-name box is an edit inside a combo box in the Explorer-style dialog.
    HWND nameBox = FindWindowExW(fileDialog, nullptr, L"ComboBoxEx32", nullptr);
    HWND name = nameBox ? FindWindowExW(FindWindowExW(nameBox, nullptr, L"ComboBox", nullptr),
                                        nullptr, L"Edit", nullptr)
                        : GetDlgItem(fileDialog, 0x480);
    SetWindowTextW(name, path.c_str());
    PostMessageW(fileDialog, WM_COMMAND, IDOK, 0);
}

}  // namespace testing_support
