#include "engine/BarWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "engine/BarLayout.h"
#include "engine/BarTable.h"
#include "engine/HookClient.h"
#include "engine/TaskBar.h"
#include "engine/Tracker.h"
#include "model/BuiltInItems.h"
#include "model/WindowList.h"
#include "resources/resource.h"
#include "win/ProgramWindows.h"

namespace orvale {
namespace {

BarHandlers g_handlers;

}  // namespace

void SetBarHandlers(BarHandlers handlers) { g_handlers = std::move(handlers); }

int BarFrameWidth() { return GetSystemMetrics(SM_CXDLGFRAME); }
int BarFrameHeight() { return GetSystemMetrics(SM_CYDLGFRAME); }

// ---- BarButton ------------------------------------------------------------------------------

namespace {

TTTOOLINFOW ToolOf(HWND button) {
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(button);
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    return tool;
}

}  // namespace

BarButton::~BarButton() {
    HWND button = Handle();
    // The bar's tooltip outlives its buttons on the task bar, whose buttons come and go.
    if (tooltip_ && IsWindow(tooltip_) && button && !caption_.empty()) {
        TTTOOLINFOW tool = ToolOf(button);
        SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    Detach();
    if (button && IsWindow(button)) DestroyWindow(button);
}

bool BarButton::Create(HWND bar, HWND tooltip, const RECT& rect, int command,
                       const std::wstring& caption, SharedIcon icon, bool small) {
    commandId = command;
    smallIcon = small;
    caption_ = caption;
    icon_ = std::move(icon);
    tooltip_ = tooltip;
    HWND button = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, rect.left,
                                  rect.top, rect.right - rect.left, rect.bottom - rect.top, bar,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(command)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (!button || !Attach(button)) return false;
    AddTooltipTool();
    return true;
}

void BarButton::AddTooltipTool() {
    if (!tooltip_ || caption_.empty()) return;
    TTTOOLINFOW tool = ToolOf(Handle());
    tool.uFlags = TTF_IDISHWND;
    tool.lpszText = const_cast<wchar_t*>(caption_.c_str());
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void BarButton::SetCaption(const std::wstring& caption) {
    if (caption == caption_) return;
    bool hadTool = !caption_.empty();
    caption_ = caption;
    SetWindowTextW(Handle(), caption.c_str());
    if (!tooltip_) return;
    if (!hadTool) {
        AddTooltipTool();
        return;
    }
    TTTOOLINFOW tool = ToolOf(Handle());
    tool.lpszText = const_cast<wchar_t*>(caption_.c_str());
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void BarButton::SetIcon(SharedIcon icon) {
    // The task bar sets the icon on every menu; most of the time it is the one it shows.
    if (icon == icon_) return;
    icon_ = std::move(icon);
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void BarButton::Draw(const DRAWITEMSTRUCT& draw) const {
    RECT rect = draw.rcItem;
    FillRect(draw.hDC, &rect, GetSysColorBrush(COLOR_BTNFACE));
    if (hot) DrawEdge(draw.hDC, &rect, EDGE_RAISED, BF_RECT);
    if (!icon_ || !*icon_) return;
    // Icons are drawn at 16 x 16, centred on the button: a full-size system icon would not
    // fit a 24-pixel button.
    const int offsetX = (rect.right - rect.left - 16) / 2;
    const int offsetY = (rect.bottom - rect.top - 16) / 2;
    DrawIconEx(draw.hDC, rect.left + offsetX, rect.top + offsetY, icon_->Get(), 16, 16, 0,
               nullptr, DI_NORMAL);
}

void BarButton::StartHover() {
    SetTimer(Handle(), IDT_BUTTON_HOVER, 5, nullptr);
    hot = true;
    InvalidateRect(Handle(), nullptr, FALSE);
    if (tooltip_) {
        SetWindowPos(tooltip_, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void BarButton::CheckHoverEnd() {
    POINT cursor;
    RECT rect;
    GetCursorPos(&cursor);
    GetWindowRect(Handle(), &rect);
    if (PtInRect(&rect, cursor)) return;
    hot = false;
    InvalidateRect(Handle(), nullptr, FALSE);
    KillTimer(Handle(), IDT_BUTTON_HOVER);
}

void BarButton::RelayToTooltip(UINT msg, WPARAM wp, LPARAM lp) {
    if (!tooltip_) return;
    MSG relayed = {Handle(), msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&relayed.pt);
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void BarButton::SendCommandToBar(int command) const {
    // Posted: what the command does may hide or even rebuild this bar, which must not happen
    // while the button is still inside its own message handling.
    PostMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Handle()));
}

bool BarButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) RelayToTooltip(msg, wp, lp);
    result = 0;
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_SETCURSOR:
        if (!hot) StartHover();
        return false;
    case WM_TIMER:
        if (wp != IDT_BUTTON_HOVER) return false;
        CheckHoverEnd();
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The click is tracked here rather than by the button itself, which would take the
        // focus and with it the activation away from the menu's application.
        pressed_ = true;
        SetCapture(Handle());
        return true;
    case WM_LBUTTONUP: {
        // While another program's menu is open it owns the mouse: the press that closes it
        // never reaches the bar, only the release does. That release completes the click, so
        // one click on a bar beside an open menu runs the item.
        const bool pressClosedTheMenu = !pressed_ && TrackerStateNow().menuWindow != nullptr;
        if (!pressed_ && !pressClosedTheMenu) return true;
        pressed_ = false;
        ReleaseCapture();
        RECT client;
        GetClientRect(Handle(), &client);
        POINT at = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (PtInRect(&client, at)) SendCommandToBar(commandId);
        return true;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return false;
    case WM_MBUTTONDOWN:
        SendCommandToBar(commandId);
        return true;
    case WM_RBUTTONDOWN:
        rightPressed_ = true;
        SendCommandToBar(IDC_BAR_EDIT);
        return true;
    case WM_RBUTTONUP:
        // As with the left button: the press that closed another program's menu never came
        // here, so its release stands for it.
        if (!rightPressed_ && TrackerStateNow().menuWindow != nullptr) {
            SendCommandToBar(IDC_BAR_EDIT);
        }
        rightPressed_ = false;
        return true;
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    case WM_COMMAND:
        SendCommandToBar(commandId);
        return true;
    case WM_MOUSEACTIVATE:
        result = MA_NOACTIVATE;
        return true;
    default:
        return false;
    }
}

// ---- BarWindow ------------------------------------------------------------------------------

BarWindow::BarWindow() : ModelessDialog(IDD_BAR) {}

BarWindow::~BarWindow() {
    for (auto& button : buttons) button.reset();
}

bool BarWindow::Create() {
    NoteBarWindowCreated();
    return ModelessDialog::Create(win::HostFrameWindow());
}

bool BarWindow::OnInit() {
    for (auto& button : buttons) button.reset();
    count = 0;
    taskBar = 0;
    SetWindowTextW(Handle(), L"OVE32BAR");
    CreateTooltip();
    return false;
}

// One tooltip control for the whole bar, owned by it and destroyed with it: a window of its
// own per button made a full configuration two thousand top-level windows.
void BarWindow::CreateTooltip() {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (tooltip_) SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(100, 0));
}

int BarWindow::NaturalLength() const { return ButtonSize() * count + 2 * BarFrameWidth(); }

int BarWindow::NaturalWidth() const {
    return IsHorizontal() ? ButtonSize() * count + 2 * BarFrameWidth()
                          : ButtonSize() + 2 * BarFrameWidth();
}

int BarWindow::NaturalHeight() const {
    return IsHorizontal() ? ButtonSize() + 2 * BarFrameHeight()
                          : ButtonSize() * count + 2 * BarFrameHeight();
}

RECT BarWindow::SlotRect(int index) const {
    const int s = ButtonSize();
    if (IsHorizontal()) return {index * s, 0, index * s + s, s};
    return {0, index * s, s, index * s + s};
}

BarButton* BarWindow::FindButton(int commandId) const {
    for (int i = 0; i < count && i < kMaxBarButtons; ++i) {
        if (buttons[i] && buttons[i]->HasWindow() && buttons[i]->commandId == commandId) {
            return buttons[i].get();
        }
    }
    return nullptr;
}

void BarWindow::RemoveButtonsFrom(int first) {
    for (int i = first; i < kMaxBarButtons; ++i) buttons[i].reset();
}

// The editor may replace this very bar window when it is confirmed; nothing of this object is
// used after the handler returns.
void BarWindow::EditThisBar() {
    NoteBarClicked();
    if (bar && g_handlers.editBar) g_handlers.editBar(*bar);
}

bool BarWindow::OnCommand(int id, int /*code*/, HWND /*control*/) {
    // The second step of Switch Windows goes on from the window its first step chose.
    if (id != IDC_BAR_SWITCH_STEP2 && id != IDC_BAR_EDIT) NoteActionStarting();
    if (id == IDC_BAR_EDIT) {
        EditThisBar();
    } else if (id >= IDC_TASK_BUTTON_FIRST && id <= IDC_TASK_BUTTON_LAST) {
        if (taskBar && g_handlers.switchToTask) {
            g_handlers.switchToTask(*this, id - IDC_TASK_BUTTON_FIRST);
        }
    } else if (id >= IDC_ITEM_BUTTON_FIRST && id <= IDC_ITEM_BUTTON_LAST) {
        BarButton* button = FindButton(id);
        if (g_handlers.runItem) {
            g_handlers.runItem(*this, ItemType::Attributed,
                               button ? button->item : BarItem());
        }
    } else if (id == IDC_BAR_SWITCH_STEP2) {
        if (g_handlers.continueSwitch) g_handlers.continueSwitch(*this);
    } else if (const BuiltInItem* builtIn = FindBuiltInByBarCommand(id)) {
        if (builtIn->type != ItemType::Separator && g_handlers.runItem) {
            g_handlers.runItem(*this, builtIn->type, BarItem());
        }
    }
    return true;  // anything else: nothing happens (and the dialog manager must not close us)
}

bool BarWindow::OnDrawItem(int /*id*/, const DRAWITEMSTRUCT& draw) {
    for (int i = 0; i < count && i < kMaxBarButtons; ++i) {
        if (buttons[i] && buttons[i]->Handle() == draw.hwndItem) buttons[i]->Draw(draw);
    }
    return true;
}

bool BarWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        EditThisBar();
        result = 0;
        return true;
    case WM_MOUSEACTIVATE:
        result = MA_NOACTIVATE;
        return true;
    default:
        return ModelessDialog::OnMessage(msg, wp, lp, result);
    }
}

bool IsBarWindow(HWND window) {
    if (!window) return false;
    for (const auto& slot : BarTable) {
        if (slot && slot->Handle() == window) return true;
    }
    return false;
}

namespace {

// Shown and not moved away off-screen.
bool IsOnScreen(HWND bar) {
    RECT rect;
    return bar && IsWindowVisible(bar) && GetWindowRect(bar, &rect) && rect.left < win::kOffScreen;
}

}  // namespace

bool AnyBarOnScreen() {
    for (const auto& slot : BarTable) {
        if (slot && IsOnScreen(slot->Handle())) return true;
    }
    return false;
}

// ---- Building, hiding, showing --------------------------------------------------------------

namespace {

std::unique_ptr<BarButton> BuildItemButton(BarWindow& window, int slot, const BarItem& item) {
    auto button = std::make_unique<BarButton>();
    // Type-101 buttons are numbered per bar, so rebuilding bars never runs out of ids.
    const int command = IDC_ITEM_BUTTON_FIRST + slot;
    if (button->Create(window.Handle(), window.Tooltip(), window.SlotRect(slot), command,
                       item.Tt(), ItemIcon(item), true)) {
        button->item = item;
    }
    return button;
}

std::unique_ptr<BarButton> BuildBuiltInButton(BarWindow& window, int slot,
                                              const BuiltInItem& b) {
    auto button = std::make_unique<BarButton>();
    button->Create(window.Handle(), window.Tooltip(), window.SlotRect(slot), b.barCommand,
                   b.caption, ProgramIcon(b.icon), false);
    return button;
}

}  // namespace

void BuildBar(BarWindow& window, BarDef& def) {
    window.bar = &def;
    window.RemoveButtonsFrom(0);
    window.count = 0;
    BarNode* node = def.nodes ? def.nodes->next : nullptr;
    while (node && window.count < kMaxBarButtons) {
        const int slot = window.count;
        BarItem item(node);
        if (node->tag == NodeTag::Type && item.IsAttributed()) {
            window.buttons[slot] = BuildItemButton(window, slot, item);
            node = item.Last();
        } else if (const BuiltInItem* b =
                       node->tag == NodeTag::Type ? FindBuiltIn(item.Type()) : nullptr) {
            window.buttons[slot] = BuildBuiltInButton(window, slot, *b);
        } else {
            // Unknown types keep their place on the bar as a gap without a button.
            window.buttons[slot] = std::make_unique<BarButton>();
        }
        node = node->next;
        ++window.count;
    }
    UINT flags = SWP_NOACTIVATE;
    if (!window.IsHorizontal()) flags |= SWP_NOMOVE;
    SetWindowPos(window.Handle(), HWND_TOPMOST, 0, 0, window.NaturalWidth(),
                 window.NaturalHeight(), flags);
}

void HideBar(BarWindow& window) {
    SetWindowPos(window.Handle(), nullptr, win::kOffScreen, win::kOffScreen, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HideAllBars() {
    for (auto& slot : BarTable) {
        if (slot && slot->Handle()) HideBar(*slot);
    }
    // The hook is off only while the cursor rests on a bar; with the bars gone it is needed
    // again at once, not a tick later, or a quick next right-click would go unheard.
    SetMouseHook(true);
}

namespace {

// Whether slot `number`'s bar takes part in this layout: it has a window and an enabled bar,
// and a context bar's window list accepts the window that was under the pointer.
bool SlotApplies(int number, HWND pointedWindow) {
    const auto& window = BarTable[number];
    if (!window || !window->Handle() || !window->bar || !window->bar->enabled) return false;
    if (number < kFirstContextBar) return true;
    return matches(windowLists[number - kFirstContextBar], pointedWindow);
}

// The bars stay inside the work area of the monitor that shows the menu.
RECT WorkAreaOf(HWND menu) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfo(MonitorFromWindow(menu, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return monitor.rcWork;
    }
    RECT desktop = {};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &desktop, 0);
    return desktop;
}

LayoutBar DescribeForLayout(int number, const BarWindow& window) {
    RECT rect;
    GetWindowRect(window.Handle(), &rect);
    LayoutBar bar;
    bar.slot = number;
    bar.horizontal = window.IsHorizontal();
    bar.size = {rect.right - rect.left, rect.bottom - rect.top};
    bar.naturalWidth = window.NaturalWidth();
    bar.naturalHeight = window.NaturalHeight();
    bar.naturalLength = window.NaturalLength();
    return bar;
}

}  // namespace

void LayoutBars(HWND menu, HWND pointedWindow) {
    std::vector<LayoutBar> applicable;
    for (int number = 0; number < kBarCount; ++number) {
        if (SlotApplies(number, pointedWindow)) {
            applicable.push_back(DescribeForLayout(number, *BarTable[number]));
        }
    }
    RECT menuRect;
    if (!GetWindowRect(menu, &menuRect)) return;
    BarLayoutResult layout = LayoutBarsAround(menuRect, applicable, WorkAreaOf(menu));
    for (const BarPlacement& placed : layout.placements) {
        if (!IsWindow(menu)) return;
        HWND bar = BarTable[placed.slot]->Handle();
        // Nothing of a bar's old place is on screen to be copied: it was moved away. The bar
        // keeps its place among the topmost windows for now (BringBarsToTop). A bar that comes
        // from off-screen leaves nothing behind to repaint, and it is painted once every bar
        // stands: redrawing as each one moves is most of what a move costs on some systems
        // (Wine), and the bars come on screen sooner without it.
        UINT flags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOZORDER;
        if (!IsOnScreen(bar)) flags |= SWP_NOREDRAW | SWP_DEFERERASE;
        const RECT& r = placed.rect;
        SetWindowPos(bar, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    }
    for (const BarPlacement& placed : layout.placements) {
        RedrawWindow(BarTable[placed.slot]->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    if (!IsWindow(menu)) return;
    const RECT& m = layout.menu;
    SetWindowPos(menu, nullptr, 0, 0, m.right - m.left, m.bottom - m.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// Every bar on screen goes to the top of the topmost windows, above the menu that has just
// opened. Done once the bars and the menu are in place: changing a window's place among the
// others is the slow part of moving it on some systems (Wine), and the bars are on screen
// sooner when they move first.
void BringBarsToTop() {
    for (const auto& slot : BarTable) {
        if (!slot || !IsOnScreen(slot->Handle())) continue;
        SetWindowPos(slot->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

}  // namespace

void ShowBarsForMenu(HWND menu, HWND pointedWindow) {
    if (!IsWindow(menu)) return;
    CreatePendingMenuBarWindows();
    RECT before;
    GetWindowRect(menu, &before);

    // The task bar is filled before the layout, so the layout sizes it for the windows it
    // now lists rather than for those of the previous menu.
    if (BarTable[0] && barDefs[0].enabled) FillTaskBar(*BarTable[0]);
    LayoutBars(menu, pointedWindow);
    if (!IsWindow(menu)) return;

    // Repaint the menu's new right and bottom margins.
    RECT after;
    GetWindowRect(menu, &after);
    const LONG right = after.right - before.left;
    const LONG bottom = after.bottom - before.top;
    RECT strips[] = {{before.right - before.left - 10, 0, right, bottom},
                     {0, before.bottom - before.top - 10, right, bottom}};
    for (const RECT& strip : strips) {
        RedrawWindow(menu, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE);
    }
    UpdateWindow(menu);
    BringBarsToTop();
}

}  // namespace orvale
