#include "engine/TaskBar.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/BarWindow.h"
#include "resources/resource.h"
#include "win/Dpi.h"
#include "win/Handles.h"
#include "win/ProgramWindows.h"
#include "win/Text.h"

namespace orvale {
namespace {

struct Candidate {
    HWND window;
    SharedIcon icon;
};

// The questions that need no answer from the window come first: a title and the tool-window
// style are read without waiting for its program, and they rule out most windows before one
// of them is asked whether it answers, or for its icon.
bool Qualifies(HWND window, SharedIcon& icon, QuestionBudget& budget, int iconSize) {
    if (!IsWindowVisible(window) || win::IsOwnThreadWindow(window)) return false;
    if (win::WindowText(window).empty()) return false;
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return false;
    if (!IsResponsive(window, budget)) return false;
    icon = QueryWindowIcon(window, budget, iconSize);
    return icon && *icon;
}

struct Collection {
    std::vector<Candidate> kept;
    QuestionBudget budget;
    int iconSize;
};

BOOL CALLBACK CollectCandidate(HWND window, LPARAM lp) {
    // The system calls this: no exception may cross back into it. The list ends where it failed.
    try {
        auto& collection = *reinterpret_cast<Collection*>(lp);
        SharedIcon icon;
        if (Qualifies(window, icon, collection.budget, collection.iconSize)) {
            collection.kept.push_back({window, std::move(icon)});
        }
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

// Candidates collected ahead of a menu, and when.
std::vector<Candidate> g_prepared;
DWORD g_preparedAt = 0;
bool g_havePrepared = false;
// A search lasts about 3 s after the right press that prepared the list.
constexpr DWORD kPreparedForMs = 3500;

std::vector<Candidate> CollectCandidates(int iconSize) {
    Collection collection;
    collection.iconSize = iconSize;
    // The desktop's list in one question rather than one question per window.
    EnumDesktopWindows(nullptr, CollectCandidate, reinterpret_cast<LPARAM>(&collection));
    std::vector<Candidate> kept = std::move(collection.kept);
    // Handle order, largest first: the same windows always come in the same order.
    std::sort(kept.begin(), kept.end(), [](const Candidate& a, const Candidate& b) {
        return reinterpret_cast<uintptr_t>(a.window) > reinterpret_cast<uintptr_t>(b.window);
    });
    return kept;
}

}  // namespace

bool IsResponsive(HWND window, QuestionBudget& budget) {
    if (win::IsOwnThreadWindow(window)) return true;
    LRESULT ignored = 0;
    return budget.Ask(window, WM_NULL, 0, 0, ignored);
}

namespace {

// The first icon of the program file that owns `window`, shared by all its windows.
SharedIcon ProgramFileIcon(HWND window, int iconSize) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    win::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return nullptr;
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameW(process.Get(), 0, path, &size)) return nullptr;
    return FileIcon(path, iconSize);
}

}  // namespace

SharedIcon QueryWindowIcon(HWND window, QuestionBudget& budget, int size) {
    auto ask = [&](UINT msg, WPARAM wp) {
        LRESULT answer = 0;
        return budget.Ask(window, msg, wp, 0, answer) ? reinterpret_cast<HICON>(answer) : nullptr;
    };
    HICON icon = ask(WM_QUERYDRAGICON, 0);
    if (!icon) icon = ask(WM_GETICON, ICON_SMALL);
    if (!icon) icon = ask(WM_GETICON, ICON_BIG);
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    // The icon belongs to the other window; the button keeps a copy of its own, made from the
    // image of the size it is drawn at when the icon came from a program's resources.
    if (icon) {
        HICON copy =
            static_cast<HICON>(CopyImage(icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE));
        return OwnIcon(copy ? copy : CopyIcon(icon));
    }
    // Some systems (Wine among them) cannot hand a drag icon or a class icon across
    // processes; the program file's own icon then stands for the window.
    return ProgramFileIcon(window, size);
}

namespace {

// The list prepared for this menu, without the windows that have gone or hidden since; a list
// collected now when none was prepared.
std::vector<Candidate> TakeCandidates(int iconSize) {
    const bool fresh = g_havePrepared && GetTickCount() - g_preparedAt <= kPreparedForMs;
    g_havePrepared = false;
    if (!fresh) return CollectCandidates(iconSize);
    std::vector<Candidate> kept = std::move(g_prepared);
    kept.erase(std::remove_if(kept.begin(), kept.end(),
                              [](const Candidate& c) { return !IsWindowVisible(c.window); }),
               kept.end());
    return kept;
}

// The bar's thickness across its axis is that of a task button; its length stays the one the
// last layout gave it.
void SizeAcross(BarWindow& taskBar) {
    RECT rect;
    GetWindowRect(taskBar.Handle(), &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int newWidth = width;
    int newHeight = height;
    if (taskBar.IsHorizontal()) {
        newHeight = taskBar.ButtonSize() + 2 * taskBar.FrameHeight();
    } else {
        newWidth = taskBar.ButtonSize() + 2 * taskBar.FrameWidth();
    }
    // Moving a window is slow on some systems, and this size rarely changes.
    if (newWidth == width && newHeight == height) return;
    SetWindowPos(taskBar.Handle(), HWND_TOPMOST, 0, 0, newWidth, newHeight,
                 SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace

void PrepareTaskBar() {
    if (!barDefs[0].enabled) return;
    // The menu opens at the pointer: the icons are those of its monitor's DPI.
    POINT cursor = {};
    GetCursorPos(&cursor);
    const UINT dpi = win::DpiForMonitor(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST));
    g_prepared = CollectCandidates(win::Scale(kButtonIconSize, dpi));
    g_preparedAt = GetTickCount();
    g_havePrepared = true;
}

void FillTaskBar(BarWindow& taskBar) {
    if (!barDefs[0].enabled) return;
    taskBar.bar = &barDefs[0];
    taskBar.count = 0;
    std::vector<Candidate> candidates = TakeCandidates(taskBar.IconSize());
    for (Candidate& c : candidates) {
        if (taskBar.count >= kMaxBarButtons) break;
        const int k = taskBar.count;
        std::wstring title = win::WindowText(c.window);
        auto& button = taskBar.buttons[k];
        if (button && button->HasWindow()) {
            button->SetCaption(title);
            button->SetIcon(std::move(c.icon));
        } else {
            button = std::make_unique<BarButton>();
            button->Create(taskBar.Handle(), taskBar.Tooltip(), taskBar.SlotRect(k),
                           {IDC_TASK_BUTTON_FIRST + k, title, std::move(c.icon),
                            taskBar.IconSize(), true},
                           taskBar.ButtonSink());
        }
        button->smallIcon = true;
        button->targetWindow = c.window;
        ++taskBar.count;
    }
    taskBar.RemoveButtonsFrom(taskBar.count);
    SizeAcross(taskBar);
}

}  // namespace orvale
