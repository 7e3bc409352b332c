#include "app/SettingsWindow.h"

#include <shellapi.h>

#include <algorithm>

#include "actions/MacroToolRegistration.h"
#include "actions/StartWithWindows.h"
#include "app/BarHandlers.h"
#include "app/StarterSettings.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/SaveProblem.h"
#include "engine/BarTable.h"
#include "engine/HookClient.h"
#include "engine/Tracker.h"
#include "model/BarModel.h"
#include "model/SettingsFile.h"
#include "resources/resource.h"
#include "win/ProgramWindows.h"
#include "win/SizedIcons.h"
#include "win/ScreenPlace.h"

namespace orvale {
namespace {

// Posted when the window was shown by anything but the user: it goes again.
constexpr UINT kHideAgain = WM_APP + 1;
// A left press this soon after a right press on the tray icon opens the window, not the menu.
constexpr UINT kTrayMenuDelayMs = 100;
// Posted after a change of DPI, once the system has rescaled the window and its controls.
constexpr UINT kRefit = WM_APP + 2;

}  // namespace

SettingsWindow::SettingsWindow() : ModelessDialog(IDD_SETTINGS) {
    BindCheck(IDC_TASKBAR_ENABLE, taskBarEnableCopy_);
    BindCheck(IDC_GLOBAL_ENABLE, globalEnableCopy_);
}

SettingsWindow::~SettingsWindow() = default;

bool SettingsWindow::OnInit() {
    win::SetSettingsWindowHandle(Handle());
    taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    pages_.Attach(*this);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    SetMenu(Handle(), LoadMenuW(instance, MAKEINTRESOURCEW(IDR_SETTINGS_MENU)));
    FitAroundControls();
    dpi_ = win::DpiForWindow(Handle());
    LoadIcons();
    pages_.SetDpi(dpi_);

    // A first start gets a few useful bars; an existing file is never touched.
    WriteStarterSettingsIfMissing(settingsPath());
    RegisterOwnMacroTool(settingsPath(L""));
    FileError unread;
    if (openSettings(&unread) == SettingsDocument::LoadStatus::Unreadable) {
        ReportUnreadableSettings(nullptr, unread);
    }
    loadModel();
    if (LoadHookLibrary()) SetMouseHook(true);

    ConnectBarHandlers();
    CreateTaskBarWindow();
    CreateMenuBarWindowsInTurn();

    taskBarEnableCopy_ = barDefs[0].enabled;
    globalEnableCopy_ = GlobalEnable() ? 1 : 0;
    StartTracker();
    UpdateData(false);
    tray_.Add(Handle());

    pages_.ShowTabs();
    FitAroundControls();  // the tab control may have grown to hold its texts
    PlaceAsSaved();       // once its size is final

    // Hidden before the user ever sees it.
    PostMessageW(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pages_.Refresh();
    CheckMenuItem(GetMenu(Handle()), IDM_ENABLE,
                  MF_BYCOMMAND | (GlobalEnable() ? MF_CHECKED : MF_UNCHECKED));
    initialised_ = 1;
    return true;
}

void SettingsWindow::OnDestroy() {
    StopTracker();
    // Removed on the way out rather than left to the end of the process: some systems (Wine)
    // keep an ended program's global hook, which would go on reporting to the next copy.
    SetMouseHook(false);
    tray_.Remove();
    win::SetSettingsWindowHandle(nullptr);
}

bool SettingsWindow::OnCommand(int id, int code, HWND control) {
    // Reports from the hook library and the search start go to the tracker first.
    if (TrackerCommand(id, control)) return false;
    if (pages_.OnCommand(id, code)) return true;
    switch (id) {
    case IDC_APPLY: Apply(); return true;
    case IDC_EXIT: RequestExit(false); return true;
    case IDM_TRAY_EXIT: RequestExit(true); return true;
    case IDM_ENABLE: ToggleEnable(); return true;
    // A failure leaves the check mark as it was, which is all the user needs to see.
    case IDM_START_WITH_WINDOWS: SetStartWithWindows(!StartsWithWindows()); return true;
    case IDC_HELP_CONTENTS:
    case IDC_HELP_STANDARD: OpenHelp(); return true;
    case IDC_ABOUT_MENU:
    case IDM_TRAY_ABOUT: ShowAbout(Handle()); return true;
    case IDM_TRAY_SETTINGS: ShowForUser(); return true;
    default:
        return ModelessDialog::OnCommand(id, code, control);
    }
}

bool SettingsWindow::OnNotify(int id, NMHDR& header, LRESULT& /*result*/) {
    return pages_.OnNotify(id, header);
}

bool SettingsWindow::OnMeasureItem(int id, MEASUREITEMSTRUCT& measure) {
    return SettingsPages::OnMeasureItem(id, measure);
}

bool SettingsWindow::OnDrawItem(int id, const DRAWITEMSTRUCT& draw) {
    return pages_.OnDrawItem(id, draw);
}

bool SettingsWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (taskbarCreatedMessage_ && msg == taskbarCreatedMessage_) {
        // Explorer restarted: the notification area lost our icon.
        tray_.Remove();
        tray_.Add(Handle());
        return true;
    }
    switch (msg) {
    case ORVALE_TRAY_MESSAGE:
        // Message 126 is also WM_DISPLAYCHANGE; the tray's identifier tells them apart.
        if (wp != ORVALE_TRAY_ID) return false;
        OnTrayMessage(lp);
        return true;
    case WM_MOVE:
        OnMoved();
        return ModelessDialog::OnMessage(msg, wp, lp, result);
    case WM_ENTERSIZEMOVE:
        dragging_ = true;
        return ModelessDialog::OnMessage(msg, wp, lp, result);
    case WM_EXITSIZEMOVE:
        dragging_ = false;
        OnMoved();
        return ModelessDialog::OnMessage(msg, wp, lp, result);
    case WM_SIZE:
        if (wp == SIZE_MINIMIZED) OnMinimized();
        return ModelessDialog::OnMessage(msg, wp, lp, result);
    case WM_WINDOWPOSCHANGED:
        // The window stays hidden unless the user opened it; whatever else shows it, it goes
        // again on the next message turn.
        if (!shownByUser_ && (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW)) {
            PostMessageW(Handle(), kHideAgain, 0, 0);
        }
        return ModelessDialog::OnMessage(msg, wp, lp, result);
    case kHideAgain:
        if (!shownByUser_ && IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);
        return true;
    case WM_INITMENUPOPUP: {
        // The tray menu and the window's Tools menu: whether the Startup folder holds a
        // shortcut to this copy is asked as either opens, since the user may change it by hand.
        const HMENU popup = reinterpret_cast<HMENU>(wp);
        if (GetMenuState(popup, IDM_START_WITH_WINDOWS, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
            CheckMenuItem(popup, IDM_START_WITH_WINDOWS,
                          MF_BYCOMMAND | (StartsWithWindows() ? MF_CHECKED : MF_UNCHECKED));
        }
        return ModelessDialog::OnMessage(msg, wp, lp, result);
    }
    case WM_CLOSE:
        OnCloseRequest();
        return true;
    case WM_QUERYENDSESSION:
        // Windows may go on either way; the user has been asked while a save fails.
        SaveBeforeLeaving(Handle(), [] { return saveModel(); });
        result = TRUE;
        return true;
    case WM_HELP:  // F1, the same page as Help
        OpenHelp();
        result = TRUE;
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(bigIcon_.Get());
        return true;
    case WM_DPICHANGED:
        ChangeDpi(LOWORD(wp));
        // Not handled: the system goes on to rescale the window and its controls.
        return ModelessDialog::OnMessage(msg, wp, lp, result);
    case kRefit:
        pages_.FitTabs();
        FitAroundControls();
        return true;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        if (IsIconic(Handle())) {
            DrawIcon(dc, 0, 0, bigIcon_.Get());
        } else {
            PaintTitle(dc);
        }
        EndPaint(Handle(), &paint);
        return true;
    }
    default:
        return ModelessDialog::OnMessage(msg, wp, lp, result);
    }
}

// The template is sized without the menu bar attached at start-up, which takes its height
// from the client area: the window grows until every control is inside it again.
void SettingsWindow::FitAroundControls() {
    RECT client = {};
    GetClientRect(Handle(), &client);
    LONG right = client.right, bottom = client.bottom;
    for (HWND c = GetWindow(Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r = {};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
        right = std::max(right, r.right);
        bottom = std::max(bottom, r.bottom);
    }
    RECT window = {};
    GetWindowRect(Handle(), &window);
    SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left + right - client.right,
                 window.bottom - window.top + bottom - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window's icons at its DPI: the caption's small one, the big one for Alt+Tab and dragging.
void SettingsWindow::LoadIcons() {
    win::IconHandle small(win::LoadResourceIcon(nullptr, IDI_ORVALE,
                                                win::MetricForDpi(SM_CXSMICON, dpi_)));
    win::IconHandle big(win::LoadResourceIcon(nullptr, IDI_ORVALE,
                                              win::MetricForDpi(SM_CXICON, dpi_)));
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    // The ones shown until now go once replaced.
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

// What the system does not rescale itself: the icons, the lists' owner-drawn rows and the
// painted title. The window fits its controls again once they have been rescaled.
void SettingsWindow::ChangeDpi(UINT dpi) {
    dpi_ = dpi;
    LoadIcons();
    pages_.SetDpi(dpi_);
    InvalidateRect(Handle(), nullptr, TRUE);
    PostMessageW(Handle(), kRefit, 0, 0);
}

void SettingsWindow::PaintTitle(HDC dc) {
    // The window's DPI, which a DC's LOGPIXELSY does not know under per-monitor awareness.
    const int height = -MulDiv(18, static_cast<int>(dpi_), 72);
    win::FontHandle font(CreateFontW(height, 0, 900, 900, 800, TRUE, FALSE, FALSE, ANSI_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH | FF_SWISS, L"Arial"));
    win::SelectObjectScope select(dc, font.Get());
    const wchar_t* text = L"Orvale";
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text, 6, &extent);
    RECT anchor = {};
    GetWindowRect(Item(IDC_TITLE_ANCHOR), &anchor);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&anchor), 2);
    const int base = anchor.top + extent.cx;
    SetBkMode(dc, TRANSPARENT);
    const struct {
        int offset;
        int color;
    } layers[] = {{4, COLOR_3DHIGHLIGHT}, {2, COLOR_3DDKSHADOW}, {3, COLOR_BTNFACE}};
    for (const auto& layer : layers) {
        const int offset = win::Scale(layer.offset, dpi_);
        SetTextColor(dc, GetSysColor(layer.color));
        TextOutW(dc, offset, base + offset, text, 6);
    }
}

// ---- Showing, hiding, closing ---------------------------------------------------------------

void SettingsWindow::ShowForUser() {
    shownByUser_ = 1;
    pages_.Refresh();
    ShowWindow(Handle(), SW_SHOW);
    if (IsIconic(Handle())) PostMessageW(Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    SetForegroundWindow(Handle());
}

void SettingsWindow::HideWindows() {
    ShowWindow(Handle(), SW_HIDE);
    ShowWindow(win::HostFrameWindow(), SW_HIDE);
}

// Where the user left the window, as long as a monitor shows it there: the monitor it was
// saved on may be gone, and then it opens on one the user can see.
void SettingsWindow::PlaceAsSaved() {
    RECT rect;
    GetWindowRect(Handle(), &rect);
    OffsetRect(&rect, readInt(L"options", L"x") - rect.left, readInt(L"options", L"y") - rect.top);
    rect = win::OnAMonitor(rect);
    SetWindowPos(Handle(), nullptr, rect.left, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsWindow::OnMoved() {
    if (!initialised_ || IsIconic(Handle())) return;
    RECT rect;
    GetWindowRect(Handle(), &rect);
    // Shown again where it was (a restore moves it from the minimised place), there is nothing
    // to write, and no save that could fail while the user merely opens the window.
    if (readInt(L"options", L"x") != rect.left || readInt(L"options", L"y") != rect.top) {
        writeInt(L"options", L"x", rect.left);
        writeInt(L"options", L"y", rect.top);
        placeUnsaved_ = true;
    }
    // While the user drags the window, once the drag is over.
    if (dragging_ || !placeUnsaved_) return;
    placeUnsaved_ = false;
    ReportSave(Handle(), saveSettings());
}

void SettingsWindow::OnMinimized() {
    Apply();
    HideWindows();
    shownByUser_ = 0;
}

void SettingsWindow::OnCloseRequest() {
    UpdateData(true);
    barDefs[0].enabled = taskBarEnableCopy_;
    if (exitRequested_) {
        Close();  // which saves
        return;
    }
    HideWindows();
    PostMessageW(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void SettingsWindow::Close() {
    Apply();
    shownByUser_ = 0;
    if (!exitRequested_) {
        HideWindows();
        return;
    }
    SaveBeforeLeaving(Handle(), [] { return saveModel(); });
    PostMessageW(win::HostFrameWindow(), WM_COMMAND, IDC_FRAME_CLOSE, 0);
    tray_.Remove();
    End(IDCANCEL);
}

void SettingsWindow::RequestExit(bool fromTray) {
    exitRequested_ = 1;
    if (fromTray) {
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
    } else {
        Close();
    }
}

// ---- Apply -----------------------------------------------------------------------------------

void SettingsWindow::Apply() {
    UpdateData(true);
    barDefs[0].enabled = taskBarEnableCopy_;
    SetGlobalEnable(globalEnableCopy_ != 0);
    pages_.ApplyChecks();
}

// ---- Enable, help, tray ---------------------------------------------------------------------

void SettingsWindow::ToggleEnable() {
    SetGlobalEnable(!GlobalEnable());
    // Keep the dialog's copy in step, so the next Apply does not undo the toggle.
    globalEnableCopy_ = GlobalEnable() ? 1 : 0;
    UpdateData(false);
    CheckMenuItem(GetMenu(Handle()), IDM_ENABLE,
                  MF_BYCOMMAND | (GlobalEnable() ? MF_CHECKED : MF_UNCHECKED));
}

void SettingsWindow::OpenHelp() {
    ShellExecuteW(nullptr, nullptr, settingsPath(L"ovehelp.htm").c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

void SettingsWindow::OnTrayMessage(LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
        trayLeftPressed_ = true;
        ShowForUser();
        break;
    case WM_RBUTTONDOWN:
        // The menu waits a moment: a left press meanwhile opens the window instead.
        trayLeftPressed_ = false;
        SetTimer(Handle(), IDT_TRAY_MENU, kTrayMenuDelayMs, nullptr);
        break;
    default:
        break;
    }
}

bool SettingsWindow::OnTimer(UINT_PTR id) {
    if (id != IDT_TRAY_MENU) return false;
    KillTimer(Handle(), IDT_TRAY_MENU);
    if (!trayLeftPressed_) tray_.ShowMenu(Handle(), GlobalEnable());
    return true;
}

}  // namespace orvale
