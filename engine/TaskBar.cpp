#include "engine/TaskBar.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/BarWindow.h"
#include "resources/resource.h"
#include "win/Handles.h"
#include "win/ProgramWindows.h"
#include "win/Text.h"

namespace orvale {
namespace {

constexpr UINT kAnswerLimitMs = 250;

// Asks another window for a value without ever waiting for it longer than the limit: a window
// that stops answering must not stop the program.
LRESULT AskWindow(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerLimitMs,
                             &answer)) {
        return 0;
    }
    return static_cast<LRESULT>(answer);
}

struct Candidate {
    HWND window;
    win::IconHandle icon;
};

bool Qualifies(HWND window, win::IconHandle& icon) {
    if (!IsWindowVisible(window) || win::IsOwnThreadWindow(window)) return false;
    if (!IsResponsive(window)) return false;
    icon.Reset(QueryWindowIcon(window));
    if (!icon) return false;
    if (win::WindowText(window).empty()) return false;
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0;
}

std::vector<Candidate> CollectCandidates() {
    std::vector<Candidate> kept;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        win::IconHandle icon;
        if (Qualifies(w, icon)) kept.push_back({w, std::move(icon)});
    }
    // Handle order, largest first: the same windows always come in the same order.
    std::sort(kept.begin(), kept.end(), [](const Candidate& a, const Candidate& b) {
        return reinterpret_cast<uintptr_t>(a.window) > reinterpret_cast<uintptr_t>(b.window);
    });
    return kept;
}

}  // namespace

bool IsResponsive(HWND window) {
    if (win::IsOwnThreadWindow(window)) return true;
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               kAnswerLimitMs, &answer) != 0;
}

namespace {

// The first icon of the program file that owns `window`, or null.
HICON ProgramFileIcon(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    win::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return nullptr;
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameW(process.Get(), 0, path, &size)) return nullptr;
    HICON icon = nullptr;
    ExtractIconExW(path, 0, nullptr, &icon, 1);
    return icon;
}

}  // namespace

HICON QueryWindowIcon(HWND window) {
    auto icon = reinterpret_cast<HICON>(AskWindow(window, WM_QUERYDRAGICON, 0, 0));
    if (!icon) icon = reinterpret_cast<HICON>(AskWindow(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(AskWindow(window, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    // The icon belongs to the other window; the button keeps a copy of its own.
    if (icon) return CopyIcon(icon);
    // Some systems (Wine among them) cannot hand a drag icon or a class icon across
    // processes; the program file's own icon then stands for the window.
    return ProgramFileIcon(window);
}

void FillTaskBar(BarWindow& taskBar) {
    if (!barDefs[0].enabled) return;
    taskBar.bar = &barDefs[0];
    taskBar.count = 0;
    std::vector<Candidate> candidates = CollectCandidates();
    for (Candidate& c : candidates) {
        if (taskBar.count >= kMaxBarButtons) break;
        const int k = taskBar.count;
        std::wstring title = win::WindowText(c.window);
        auto& button = taskBar.buttons[k];
        if (button && button->HasWindow()) {
            button->SetCaption(title);
            button->SetIcon(c.icon.Release());
        } else {
            button = std::make_unique<BarButton>();
            button->Create(taskBar.Handle(), taskBar.SlotRect(k), IDC_TASK_BUTTON_FIRST + k,
                           title, c.icon.Release(), true);
        }
        button->smallIcon = true;
        button->targetWindow = c.window;
        ++taskBar.count;
    }
    taskBar.RemoveButtonsFrom(taskBar.count);

    RECT rect;
    GetWindowRect(taskBar.Handle(), &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (taskBar.IsHorizontal()) {
        height = kTaskButtonSize + 2 * BarFrameHeight();
    } else {
        width = kTaskButtonSize + 2 * BarFrameWidth();
    }
    SetWindowPos(taskBar.Handle(), HWND_TOPMOST, 0, 0, width, height, SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace orvale
