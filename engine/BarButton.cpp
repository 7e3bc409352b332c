#include "engine/BarButton.h"

#include <commctrl.h>

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

bool CursorOver(HWND window) {
    POINT cursor;
    RECT rect;
    return GetCursorPos(&cursor) && GetWindowRect(window, &rect) && PtInRect(&rect, cursor);
}

// A release the button waits for is looked for this often when it does not come as a message.
constexpr UINT kReleasePollMs = 10;

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

bool BarButton::Create(HWND bar, HWND tooltip, const RECT& rect, Face face,
                       CommandSink sink) {
    commandId = face.commandId;
    sink_ = std::move(sink);
    smallIcon = face.smallIcon;
    iconSize = face.iconSize;
    caption_ = std::move(face.caption);
    icon_ = std::move(face.icon);
    tooltip_ = tooltip;
    HWND button = CreateWindowExW(0, L"BUTTON", caption_.c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, rect.left,
                                  rect.top, rect.right - rect.left, rect.bottom - rect.top, bar,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(commandId)),
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
    // Icons are drawn at the small-icon size of the bar's DPI (16 x 16 at 96 DPI), centred on
    // the button: a full-size system icon would not fit. They were loaded at that size.
    const int offsetX = (rect.right - rect.left - iconSize) / 2;
    const int offsetY = (rect.bottom - rect.top - iconSize) / 2;
    DrawIconEx(draw.hDC, rect.left + offsetX, rect.top + offsetY, icon_->Get(), iconSize,
               iconSize, 0, nullptr, DI_NORMAL);
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

// The bar runs the command once the button's own message handling is over: what it does may
// hide or even rebuild this bar.
void BarButton::SendCommandToBar(int command) const {
    if (sink_) sink_(command);
}

void BarButton::PressClosedMenu(int vk) {
    if (!Handle() || !win::HeldNow(vk)) return;  // over already: a late or made-up report
    if (vk == VK_RBUTTON) {
        // A right press edits the bar at once, as a press that reaches the button does.
        if (rightPress_.Take(VK_RBUTTON)) SendCommandToBar(IDC_BAR_EDIT);
        return;
    }
    if (armed_ || pressed_) return;  // the button has this press already
    armed_ = true;
    SetTimer(Handle(), IDT_BUTTON_RELEASE, kReleasePollMs, nullptr);
}

// A click ends with the release, whichever way it was heard: on the button it counts,
// elsewhere not, as with any push button. The release may come as a message, or never.
void BarButton::CompleteClick() {
    if (!armed_ && !pressed_) return;
    armed_ = false;
    KillTimer(Handle(), IDT_BUTTON_RELEASE);
    if (pressed_) {
        pressed_ = false;
        ReleaseCapture();
    }
    if (CursorOver(Handle())) SendCommandToBar(commandId);
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
        if (wp == IDT_BUTTON_HOVER) {
            CheckHoverEnd();
        } else if (wp == IDT_BUTTON_RELEASE) {
            if (!win::HeldNow(VK_LBUTTON)) CompleteClick();
        } else {
            return false;
        }
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The click is tracked here rather than by the button itself, which would take the
        // focus and with it the activation away from the menu's application.
        if (!win::HeldForThisMessage(VK_LBUTTON)) return true;
        pressed_ = true;
        SetCapture(Handle());
        return true;
    case WM_LBUTTONUP:
        CompleteClick();
        return true;
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return false;
    case WM_MBUTTONDOWN:
        if (win::HeldForThisMessage(VK_MBUTTON)) SendCommandToBar(commandId);
        return true;
    case WM_RBUTTONDOWN:
        if (win::HeldForThisMessage(VK_RBUTTON) && rightPress_.Take(VK_RBUTTON)) {
            SendCommandToBar(IDC_BAR_EDIT);
        }
        return true;
    case WM_RBUTTONUP:
        return true;
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    case WM_MOUSEACTIVATE:
        result = MA_NOACTIVATE;
        return true;
    default:
        return false;
    }
}

}  // namespace orvale
