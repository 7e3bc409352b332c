#include "win/CheckList.h"

#include <windowsx.h>

#include "win/Dpi.h"

namespace win {

void CheckList::Clear() { SendMessageW(Handle(), LB_RESETCONTENT, 0, 0); }

void CheckList::AddRow(const std::wstring& text, bool checked) {
    auto row = SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (row >= 0) SendMessageW(Handle(), LB_SETITEMDATA, static_cast<WPARAM>(row), checked ? 1 : 0);
}

int CheckList::Count() const {
    return static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0));
}

int CheckList::Selection() const {
    auto row = SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

void CheckList::Select(int row) {
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

bool CheckList::IsChecked(int row) const {
    auto data = SendMessageW(Handle(), LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    return data != LB_ERR && data != 0;
}

void CheckList::SetChecked(int row, bool checked) {
    SendMessageW(Handle(), LB_SETITEMDATA, static_cast<WPARAM>(row), checked ? 1 : 0);
    RECT rect;
    if (SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&rect)) != LB_ERR) {
        InvalidateRect(Handle(), &rect, TRUE);
    }
}

int CheckList::CheckWidth() const {
    const UINT dpi = dpi_ ? dpi_ : SystemDpi();
    return MetricForDpi(SM_CXMENUCHECK, dpi) + Scale(4, dpi);
}

void CheckList::Measure(MEASUREITEMSTRUCT& measure) {
    measure.itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENUCHECK) + 2);
}

void CheckList::SetDpi(UINT dpi) {
    dpi_ = dpi;
    const int height = MetricForDpi(SM_CYMENUCHECK, dpi) + Scale(2, dpi);
    SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, height);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void CheckList::Draw(const DRAWITEMSTRUCT& draw) const {
    if (draw.itemID == static_cast<UINT>(-1)) return;
    const int row = static_cast<int>(draw.itemID);
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    RECT box = draw.rcItem;
    box.right = box.left + CheckWidth() - 2;
    FillRect(draw.hDC, &draw.rcItem, GetSysColorBrush(COLOR_WINDOW));
    RECT check = box;
    InflateRect(&check, -1, -1);
    DrawFrameControl(draw.hDC, &check, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (IsChecked(row) ? DFCS_CHECKED : 0));

    RECT text = draw.rcItem;
    text.left += CheckWidth();
    FillRect(draw.hDC, &text, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    // A row's text may be of any length (a bar's name is): the buffer is made to fit it.
    std::wstring buffer;
    auto length = SendMessageW(Handle(), LB_GETTEXTLEN, draw.itemID, 0);
    if (length > 0) {
        buffer.resize(static_cast<size_t>(length) + 1);
        length = SendMessageW(Handle(), LB_GETTEXT, draw.itemID,
                              reinterpret_cast<LPARAM>(&buffer[0]));
        buffer.resize(length > 0 ? static_cast<size_t>(length) : 0);
    }
    SetBkMode(draw.hDC, TRANSPARENT);
    SetTextColor(draw.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(draw.hDC, buffer.c_str(), static_cast<int>(buffer.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (draw.itemState & ODS_FOCUS) DrawFocusRect(draw.hDC, &text);
}

void CheckList::Toggle(int row) {
    if (row >= 0 && row < Count()) {
        SetChecked(row, !IsChecked(row));
        // The parent learns of the change as a selection change of the list.
        SendMessageW(GetParent(Handle()), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(Handle()), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Handle()));
    }
}

bool CheckList::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_LBUTTONDOWN && GET_X_LPARAM(lp) < CheckWidth()) {
        result = Default(msg, wp, lp);  // select the row as usual first
        auto hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, lp);
        if (HIWORD(hit) == 0) Toggle(LOWORD(hit));
        return true;
    }
    if (msg == WM_KEYDOWN && wp == VK_SPACE) {
        Toggle(Selection());
        result = 0;
        return true;
    }
    return false;
}

}  // namespace win
