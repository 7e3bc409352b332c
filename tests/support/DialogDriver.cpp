#include "DialogDriver.h"

#include <commctrl.h>

#include "resources/resource.h"

namespace testing_support {
namespace {

std::vector<DialogStep> g_steps;
size_t g_next = 0;
DWORD g_deadline = 0;

// Runs the next step on its dialog or menu once that is shown and enabled; once the time is
// up, cancels every such dialog and menu instead.
void CALLBACK PlayNextStep(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM) -> BOOL {
        const bool menu = ClassOf(window) == kMenu;
        if ((!menu && ClassOf(window) != "#32770") || !IsWindowVisible(window) ||
            !IsWindowEnabled(window)) {
            return TRUE;
        }
        if (static_cast<LONG>(GetTickCount() - g_deadline) > 0) {
            if (menu) PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
            else PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        } else if (g_next < g_steps.size() &&
                   (menu ? kMenu : TitleOf(window)) == g_steps[g_next].first) {
            // A copy: the step may play steps of its own, which replace the list meanwhile.
            DialogAction action = g_steps[g_next++].second;
            action(window);
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

bool PressPlaying(HWND dialog, int id, std::vector<DialogStep> steps) {
    return PlayDialogs(std::move(steps), [&] { Press(dialog, id); });
}

DialogAction Pressing(int id) {
    return [id](HWND dialog) { Press(dialog, id); };
}

void TypeInto(HWND dialog, int id, const std::wstring& text) {
    SetDlgItemTextW(dialog, id, text.c_str());
}

std::wstring TextOf(HWND dialog, int id) {
    // Asked of the control itself: GetWindowText does not ask a control of another process.
    HWND control = GetDlgItem(dialog, id);
    const LRESULT length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const LRESULT got = SendMessageW(control, WM_GETTEXT, text.size(),
                                     reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

std::vector<std::wstring> ListRows(HWND listBox) {
    std::vector<std::wstring> rows;
    wchar_t text[1024];
    for (WPARAM i = 0;
         SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text)) != LB_ERR; ++i) {
        rows.push_back(text);
    }
    return rows;
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

void PickEntry(HWND menu, int index) {
    PostMessageW(menu, WM_KEYDOWN, VK_HOME, 0);
    for (int i = 0; i < index; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}

bool Gone(HWND dialog) {
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

size_t BarEditorRows(HWND editor) {
    return static_cast<size_t>(SendDlgItemMessageW(editor, IDC_BAR_ITEMS, LVM_GETITEMCOUNT, 0, 0));
}

HWND ProgramWindow(Orvale& orvale, const std::string& caption) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (found = GetTopWindow(nullptr); found; found = GetWindow(found, GW_HWNDNEXT)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(found, &pid);
            if (pid == orvale.Proc().Id() && IsWindowVisible(found) && TitleOf(found) == caption) {
                return true;
            }
        }
        return false;
    });
    // Used as it stands: a window the program opened and left behind others, or without the
    // keyboard, is what a user would meet too. The program may still be bringing it forward.
    if (found && !WaitUntil([&] { return InFront(found); }, 3000)) return nullptr;
    return found;
}

HWND ProgramMenu(Orvale& orvale, DWORD timeoutMs) {
    HWND menu = nullptr;
    const bool shown = WaitUntil([&] {
        DWORD pid = 0;
        if ((menu = VisibleMenu()) != nullptr) GetWindowThreadProcessId(menu, &pid);
        return pid == orvale.Proc().Id();
    }, timeoutMs);
    return shown ? menu : nullptr;
}

HWND ShowSettings(Orvale& orvale) {
    HWND settings = orvale.SettingsWindow();
    PostMessageW(settings, WM_COMMAND, IDM_TRAY_SETTINGS, 0);
    DWORD lastAsk = GetTickCount();
    // A window being restored stops being iconic a moment before it leaves the minimised place
    // (-32000, -32000). That is asked of its rectangle: after some tests, MonitorFromWindow in a
    // test process answers null under Wine even for a window in plain view at (0, 0).
    const bool shown = WaitUntil([&] {
        RECT client = {};
        GetClientRect(settings, &client);
        const RECT place = WindowRect(settings);
        if (IsWindowVisible(settings) && !IsIconic(settings) && client.right > 100 &&
            place.left > -30000 && place.top > -30000) {
            return true;
        }
        if (GetTickCount() - lastAsk > 1000) {
            PostMessageW(settings, WM_COMMAND, IDM_TRAY_SETTINGS, 0);
            lastAsk = GetTickCount();
        }
        return false;
    }, 10000);
    return shown ? settings : nullptr;
}

}  // namespace testing_support
