#include "actions/ItemLauncher.h"

#include <commdlg.h>
#include <direct.h>
#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "actions/KeySequence.h"
#include "actions/MacroTool.h"
#include "actions/ShellLink.h"
#include "actions/WindowCommands.h"
#include "app/Services.h"
#include "engine/BarWindow.h"
#include "engine/Tracker.h"
#include "model/WindowList.h"
#include "resources/resource.h"

namespace orvale {
namespace {

// Every click hides the bars at once; the user may have moved on before the action runs.
void HideBarsForAction() {
    dismissPending = 1;
    HideAllBars();
}

void RunBuiltInCommand(HWND barWindow, int type) {
    HWND owner = MenuOwnerWindow;
    switch (static_cast<ItemType>(type)) {
    case ItemType::StartMenu:
        dismissPending = 1;
        PumpedWait(50);
        HideAllBars();
        OpenStartMenu();
        PumpedWait(50);
        break;
    case ItemType::SwitchWindows:
        HideBarsForAction();
        LastForeignWindow = owner;
        // The rest runs once the bar's current message is done.
        PostMessageA(barWindow, WM_COMMAND, IDC_BAR_SWITCH_STEP2, 0);
        break;
    case ItemType::NextDocument:
    case ItemType::PreviousDocument:
        HideBarsForAction();
        PumpedWait(50);
        SetForegroundWindow(owner);
        PumpedWait(50);
        SendDocumentSwitch(type == static_cast<int>(ItemType::NextDocument)
                               ? DocumentDirection::Forward
                               : DocumentDirection::Backward);
        break;
    case ItemType::MinimizeWindow:
        HideBarsForAction();
        PumpedWait(50);
        MinimizeTarget(owner);
        break;
    case ItemType::MaximizeWindow:
        HideBarsForAction();
        PumpedWait(50);
        ToggleMaximizeTarget(owner);
        PumpedWait(50);
        SetForegroundWindow(owner);
        break;
    case ItemType::AlwaysOnTop: {
        const LONG exStyle = GetWindowLongA(owner, GWL_EXSTYLE);
        HideBarsForAction();
        ToggleAlwaysOnTop(owner, exStyle);
        break;
    }
    case ItemType::CloseApplication:
        HideBarsForAction();
        PumpedWait(50);
        CloseTargetApplication(owner);
        PumpedWait(50);
        break;
    default:
        // Separators and unknown types do nothing.
        HideBarsForAction();
        break;
    }
}

std::string WindowTitle(HWND window) {
    // The whole title, so wanted titles of any length can match exactly.
    int length = GetWindowTextLengthA(window);
    std::string title(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    int got = GetWindowTextA(window, &title[0], static_cast<int>(title.size()));
    title.resize(static_cast<size_t>(got > 0 ? got : 0));
    return title;
}

std::string LowerCase(std::string text) {
    if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

HWND FindWindowByTitle(const std::string& title, bool exact) {
    const DWORD self = GetCurrentThreadId();
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (GetWindowThreadProcessId(w, nullptr) == self) continue;
        if (TitleMatches(w, title, exact)) return w;
    }
    return nullptr;
}

// Drive and directory of an Application item become the process's own, so the program it
// starts inherits them.
void EnterStartupDirectory(const std::string& dir) {
    if (dir.size() > 2 && dir[1] == ':' && std::isalpha(static_cast<unsigned char>(dir[0]))) {
        _chdrive(std::toupper(static_cast<unsigned char>(dir[0])) - 'A' + 1);
    }
    SetCurrentDirectoryA(dir.c_str());
}

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

void OpenThroughShell(const std::string& file, const std::string& parameters,
                      const std::string& directory) {
    auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, nullptr, file.c_str(),
                                                          OrNull(parameters), OrNull(directory),
                                                          SW_SHOWDEFAULT));
    if (result <= 32) OpenViaTemporaryShortcut(file, parameters);
}

// Lets the user pick a file in `folder` (the file-name box starts with `filter`) and opens it.
void SelectAndOpenFile(const std::string& folder, const std::string& filter) {
    HWND frame = HostFrameWindow();
    POINT cursor;
    GetCursorPos(&cursor);
    // The dialog opens beside its owner: bring the hidden frame to the pointer for it.
    SetWindowPos(frame, HWND_TOP, cursor.x, cursor.y, 0, 0, SWP_SHOWWINDOW);

    std::vector<char> result(32768, '\0');
    filter.copy(result.data(), std::min(filter.size(), result.size() - 1));
    // A pattern such as "*.txt" is the initial file name, which filters the list; some
    // dialogs (Wine's) ignore a pattern given that way, so it is also the only filter.
    std::string patternFilter;
    if (filter.find_first_of("*?") != std::string::npos) {
        patternFilter = filter + '\0' + filter + '\0' + '\0';
    }
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = patternFilter.empty() ? nullptr : patternFilter.c_str();
    dialog.hwndOwner = frame;
    dialog.lpstrFile = result.data();
    dialog.nMaxFile = static_cast<DWORD>(result.size());
    dialog.lpstrInitialDir = OrNull(folder);
    dialog.Flags = (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ALLOWMULTISELECT) &
                   ~static_cast<DWORD>(OFN_SHOWHELP);

    SuspendMouseHook(true);
    if (GetOpenFileNameA(&dialog)) {
        // One file: its full path; several: the folder they are in.
        std::string chosen = result.data();
        auto opened = reinterpret_cast<INT_PTR>(
            ShellExecuteA(nullptr, nullptr, chosen.c_str(), nullptr, nullptr, SW_SHOWDEFAULT));
        if (opened <= 32) OpenViaTemporaryShortcut(chosen, "");
    }
    SetWindowPos(frame, HWND_NOTOPMOST, 10000, 10000, 400, 400, SWP_HIDEWINDOW);
    SuspendMouseHook(false);
}

}  // namespace

void DispatchItemClick(HWND barWindow, int type, const BarItem& item) {
    if (type != static_cast<int>(ItemType::Attributed)) {
        RunBuiltInCommand(barWindow, type);
        return;
    }
    PumpedWait(50);
    HideBarsForAction();
    if (!item) return;
    if (!ActivateWindowByTitle(item.Wnd(), false, kShowRestoreIfMinimized)) RunItem(item);
}

void ContinueSwitchWindows(HWND /*barWindow*/) {
    HideBarsForAction();
    PumpedWait(10);
    SwitchToNextWindow(true);
}

bool TitleMatches(HWND window, const std::string& title, bool exact) {
    if (title.empty()) return false;
    std::string text = WindowTitle(window);
    if (exact) return text == title;
    return LowerCase(text).find(LowerCase(title)) != std::string::npos;
}

bool ActivateWindowByTitle(const std::string& title, bool exactOnly, int showAction) {
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

std::string WebPageTarget(const std::string& address) {
    std::string target = LowerCase(address);
    if (target.find("//") == std::string::npos) target = "http://" + target;
    return target;
}

void RunItem(const BarItem& item) {
    std::string pth = item.Pth(), par = item.Par(), dir = item.Dir();
    switch (itemKind(dir)) {
    case ItemKind::EMail:
        OpenThroughShell("mailto:" + pth, par, "");
        return;
    case ItemKind::WebPage:
        OpenThroughShell(WebPageTarget(pth), par, "");
        return;
    case ItemKind::Macro:
        SetForegroundWindow(LastForeignWindow);
        StartMacroRun(par, pth);
        return;
    case ItemKind::KeySequence:
        SetForegroundWindow(LastForeignWindow);
        PumpedWait(25);
        PlayKeySequence(pth);
        return;
    case ItemKind::SelectFile:
        SelectAndOpenFile(pth, par);
        return;
    case ItemKind::Application:
        if (!dir.empty()) EnterStartupDirectory(dir);
        OpenThroughShell(pth, par, dir);
        return;
    }
}

}  // namespace orvale
