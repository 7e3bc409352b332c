#include "engine/BarButton.h"

#include <commctrl.h>
#include <windowsx.h>

#include "engine/BarHandlers.h"
#include "resources/resource.h"

namespace orvale {
namespace {

TTTOOLINFOW ToolOf(HWND button) {
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(button);
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    return tool;
}

// While another program's menu is open it owns the mouse: the press that closes it never
// reaches the bar, only the release does.
bool ForeignMenuOpen() {
    const BarHandlers& handlers = CurrentBarHandlers();
    return handlers.foreignMenuOpen && handlers.foreignMenuOpen();
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
        // The release of the press that closed another program's menu completes the click, so
        // one click on a bar beside an open menu runs the item.
        const bool pressClosedTheMenu = !pressed_ && ForeignMenuOpen();
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
        if (!rightPressed_ && ForeignMenuOpen()) SendCommandToBar(IDC_BAR_EDIT);
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

}  // namespace orvale
