#include "actions/ItemLauncher.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "actions/KeySequence.h"
#include "actions/MacroTool.h"
#include "actions/ShellLink.h"
#include "actions/WindowCommands.h"
#include "resources/resource.h"
#include "win/PumpedWait.h"
#include "win/ProgramWindows.h"
#include "win/Text.h"

namespace orvale {
namespace {

using win::PumpedWait;

// Every click hides the bars; the user may have moved on before the action runs.
void HideBars(const ActionContext& context) {
    if (context.hideBars) context.hideBars();
}

void RunBuiltInCommand(ItemType type, const ActionContext& context) {
    HWND owner = context.MenuOwnerWindow;
    switch (type) {
    case ItemType::StartMenu:
        PumpedWait(50);
        HideBars(context);
        OpenStartMenu();
        PumpedWait(50);
        break;
    case ItemType::SwitchWindows:
        HideBars(context);
        if (context.switchStarted) context.switchStarted();
        // The rest runs once the bar's current message is done.
        if (context.continueSwitchLater) context.continueSwitchLater();
        break;
    case ItemType::NextDocument:
    case ItemType::PreviousDocument:
        HideBars(context);
        PumpedWait(50);
        SetForegroundWindow(owner);
        PumpedWait(50);
        SendDocumentSwitch(type == ItemType::NextDocument
                               ? DocumentDirection::Forward
                               : DocumentDirection::Backward);
        break;
    case ItemType::MinimizeWindow:
        HideBars(context);
        PumpedWait(50);
        MinimizeTarget(owner);
        break;
    case ItemType::MaximizeWindow:
        HideBars(context);
        PumpedWait(50);
        ToggleMaximizeTarget(owner);
        PumpedWait(50);
        SetForegroundWindow(owner);
        break;
    case ItemType::AlwaysOnTop: {
        const LONG exStyle = GetWindowLongW(owner, GWL_EXSTYLE);
        HideBars(context);
        ToggleAlwaysOnTop(owner, exStyle);
        break;
    }
    case ItemType::CloseApplication:
        HideBars(context);
        PumpedWait(50);
        CloseTargetApplication(owner);
        PumpedWait(50);
        break;
    default:
        // Separators and unknown types do nothing.
        HideBars(context);
        break;
    }
}

HWND FindWindowByTitle(const std::wstring& title, bool exact) {
    const DWORD self = GetCurrentThreadId();
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (GetWindowThreadProcessId(w, nullptr) == self) continue;
        if (TitleMatches(w, title, exact)) return w;
    }
    return nullptr;
}

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

// An Application item's start-up folder goes to the program it starts, never to this one:
// the program's own current folder, where relative names are looked for, stays where it was.
// The temporary shortcut is for what the shell refused, not for what the user refused (an
// elevation prompt answered No).
void OpenThroughShell(const std::wstring& file, const std::wstring& parameters,
                      const std::wstring& directory) {
    if (OpenWithShell(file, parameters, directory) == ShellOpening::Refused) {
        OpenViaTemporaryShortcut(file, parameters, directory);
    }
}

// Lets the user pick a file in `folder` (the file-name box starts with `filter`) and opens it.
void SelectAndOpenFile(const std::wstring& folder, const std::wstring& filter,
                       const ActionContext& context) {
    HWND frame = context.mainWindow;
    POINT cursor;
    GetCursorPos(&cursor);
    // The dialog opens beside its owner: bring the hidden frame to the pointer for it.
    SetWindowPos(frame, HWND_TOP, cursor.x, cursor.y, 0, 0, SWP_SHOWWINDOW);

    std::vector<wchar_t> result(32768, L'\0');
    filter.copy(result.data(), std::min(filter.size(), result.size() - 1));
    // A pattern such as "*.txt" is the initial file name, which filters the list; some
    // dialogs (Wine's) ignore a pattern given that way, so it is also the only filter.
    std::wstring patternFilter;
    if (filter.find_first_of(L"*?") != std::wstring::npos) {
        patternFilter = filter + L'\0' + filter + L'\0' + L'\0';
    }
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = patternFilter.empty() ? nullptr : patternFilter.c_str();
    dialog.hwndOwner = frame;
    dialog.lpstrFile = result.data();
    dialog.nMaxFile = static_cast<DWORD>(result.size());
    dialog.lpstrInitialDir = OrNull(folder);
    // The folder the user browsed to does not become the program's current folder.
    dialog.Flags = (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ALLOWMULTISELECT |
                    OFN_NOCHANGEDIR) &
                   ~static_cast<DWORD>(OFN_SHOWHELP);

    if (context.suspendMouseHook) context.suspendMouseHook(true);
    // One file: its full path; several: the folder they are in.
    if (GetOpenFileNameW(&dialog)) OpenThroughShell(result.data(), L"", L"");
    SetWindowPos(frame, HWND_NOTOPMOST, win::kOffScreen, win::kOffScreen, 400, 400,
                 SWP_HIDEWINDOW);
    if (context.suspendMouseHook) context.suspendMouseHook(false);
}

}  // namespace

void DispatchItemClick(ItemType type, const BarItem& item, const ActionContext& context) {
    if (type != ItemType::Attributed) {
        RunBuiltInCommand(type, context);
        return;
    }
    PumpedWait(50);
    HideBars(context);
    if (!item) return;
    if (!ActivateWindowByTitle(item.Wnd(), false, kShowRestoreIfMinimized)) RunItem(item, context);
}

void ContinueSwitchWindows(const ActionContext& context) {
    HideBars(context);
    PumpedWait(10);
    SwitchToNextWindow(context.LastForeignWindow, true);
}

bool TitleMatches(HWND window, const std::wstring& title, bool exact) {
    if (title.empty()) return false;
    std::wstring text = win::WindowText(window);
    if (exact) return text == title;
    return win::ContainsIgnoringCase(text, title);
}

bool ActivateWindowByTitle(const std::wstring& title, bool exactOnly, int showAction) {
    if (title.empty()) return false;
    HWND window = FindWindowByTitle(title, true);
    if (!window && !exactOnly) window = FindWindowByTitle(title, false);
    if (!window) return false;
    switch (showAction) {
    case kShowMinimize: SendSystemCommand(window, SC_MINIMIZE); break;
    case kShowRestore: SendSystemCommand(window, SC_RESTORE); break;
    case kShowMaximize: SendSystemCommand(window, SC_MAXIMIZE); break;
    case kShowRestoreIfMinimized:
        if (IsIconic(window)) SendSystemCommand(window, SC_RESTORE);
        break;
    default: break;
    }
    PumpedWait(20);
    SetForegroundWindow(window);
    return true;
}

std::wstring WebPageTarget(const std::wstring& address) {
    std::wstring target = win::LowerCase(address);
    if (target.find(L"//") == std::wstring::npos) target = L"http://" + target;
    return target;
}

void RunItem(const BarItem& item, const ActionContext& context) {
    std::wstring pth = item.Pth(), par = item.Par(), dir = item.Dir();
    switch (itemKind(dir)) {
    case ItemKind::EMail:
        OpenThroughShell(L"mailto:" + pth, par, L"");
        return;
    case ItemKind::WebPage:
        OpenThroughShell(WebPageTarget(pth), par, L"");
        return;
    // Keys, and a macro's, go to whatever window is in front: none go anywhere unless the
    // window they are meant for is (a sequence ending in <enter> must not land elsewhere).
    case ItemKind::Macro:
        if (BringToFront(context.LastForeignWindow)) StartMacroRun(par, pth);
        return;
    case ItemKind::KeySequence:
        if (BringToFront(context.LastForeignWindow)) PlayKeySequence(pth);
        return;
    case ItemKind::SelectFile:
        SelectAndOpenFile(pth, par, context);
        return;
    case ItemKind::Application:
        OpenThroughShell(pth, par, dir);
        return;
    }
}

}  // namespace orvale
