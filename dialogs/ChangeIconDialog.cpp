#include "dialogs/ChangeIconDialog.h"

#include <shellapi.h>

#include <utility>

#include "model/BarModel.h"
#include "resources/resource.h"
#include "win/Dpi.h"
#include "win/OpenFileDialog.h"
#include "win/SizedIcons.h"
#include "win/Text.h"

namespace orvale {
namespace {

// Around each icon in its cell, at 96 DPI.
constexpr int kCellMargin = 2;

// ExtractIconEx answers "no icons" as 0, and some systems as -1 for a file they cannot read.
UINT IconCount(const std::wstring& file) {
    UINT count = ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0);
    return count == static_cast<UINT>(-1) ? 0 : count;
}

}  // namespace

ChangeIconDialog::ChangeIconDialog(std::wstring file, int index)
    : win::ModalDialog(IDD_CHANGE_ICON), file_(std::move(file)), index_(index) {}

bool ChangeIconDialog::OnInit() {
    dpi_ = win::DpiForWindow(Handle());
    SizeCells();
    ShowFileName();
    FillList();
    return true;
}

// The rows are measured before the dialog's initialisation: the window's DPI until then.
UINT ChangeIconDialog::Dpi() const { return dpi_ ? dpi_ : win::DpiForWindow(Handle()); }

// The icons are shown at the large-icon size of the dialog's DPI (32 x 32 at 96 DPI), each in
// a square cell with a margin.
int ChangeIconDialog::IconSize() const { return win::MetricForDpi(SM_CXICON, Dpi()); }

int ChangeIconDialog::CellSize() const {
    const int cell = IconSize() + 2 * win::Scale(kCellMargin, Dpi());
    // A list box keeps fixed rows below 256 pixels.
    return cell < 255 ? cell : 255;
}

void ChangeIconDialog::SizeCells() {
    HWND list = Item(IDC_ICON_LIST);
    const int cell = CellSize();
    SendMessageW(list, LB_SETITEMHEIGHT, 0, cell);
    SendMessageW(list, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(cell), 0);
}

// The system rescales the template's controls; the cells and the icons in them are ours: each
// icon is loaded again at the new size rather than stretched.
void ChangeIconDialog::ChangeDpi(UINT dpi) {
    dpi_ = dpi;
    SizeCells();
    LoadIcons();
    InvalidateRect(Item(IDC_ICON_LIST), nullptr, TRUE);
    ShowSelectedIcon();
}

// The text the dialog puts in is no edit of the user's: it must not hold up the next OK.
void ChangeIconDialog::ShowFileName() {
    showing_ = true;
    SetWindowTextW(Item(IDC_ICON_FILE), file_.c_str());
    showing_ = false;
}

void ChangeIconDialog::ReadControls() {
    file_ = win::WindowText(Item(IDC_ICON_FILE));
    LRESULT selected = SendMessageW(Item(IDC_ICON_LIST), LB_GETCURSEL, 0, 0);
    index_ = selected == LB_ERR ? -1 : static_cast<int>(selected);
}

// Every fill releases the icons of the one before.
void ChangeIconDialog::FillList() {
    HWND list = Item(IDC_ICON_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    listed_ = file_;
    LoadIcons();
    for (size_t i = 0; i < entries_.size(); ++i) SendMessageW(list, LB_ADDSTRING, 0, 0);
    edited_ = false;
    const bool inRange = index_ >= 0 && static_cast<size_t>(index_) < entries_.size();
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(inRange ? index_ : -1), 0);
    ShowSelectedIcon();
}

// The icons of the listed file at the size shown; one a call, as some systems (Wine) fill only
// the first of several asked at once.
void ChangeIconDialog::LoadIcons() {
    const std::wstring source = ResolveIconFile(listed_);
    const UINT count = IconCount(source);
    entries_.clear();
    entries_.resize(count);
    for (UINT i = 0; i < count; ++i) {
        entries_[i].icon.Reset(win::LoadFileIcon(source, static_cast<int>(i), IconSize()));
    }
}

// With no row chosen the first is shown; an empty list leaves the preview as it was.
void ChangeIconDialog::ShowSelectedIcon() {
    HWND list = Item(IDC_ICON_LIST);
    LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected < 0 || static_cast<size_t>(selected) >= entries_.size()) {
        if (entries_.empty()) return;
        selected = 0;
        SendMessageW(list, LB_SETCURSEL, 0, 0);
    }
    HICON shown = entries_[static_cast<size_t>(selected)].icon.Get();
    HICON copy = shown ? CopyIcon(shown) : nullptr;
    SendMessageW(Item(IDC_ICON_PREVIEW), STM_SETICON, reinterpret_cast<WPARAM>(copy), 0);
    preview_.Reset(copy);
}

bool ChangeIconDialog::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_ICON_FILE:
        if (code == EN_SETFOCUS) remembered_ = win::WindowText(Item(IDC_ICON_FILE));
        if (code == EN_CHANGE && !showing_) edited_ = true;
        if (code == EN_KILLFOCUS) FileNameLeft();
        return true;
    case IDC_ICON_LIST:
        if (code == LBN_SELCHANGE) ShowSelectedIcon();
        if (code == LBN_DBLCLK) OnOK();
        return true;
    case IDC_ICON_BROWSE:
        if (code == BN_CLICKED) Browse();
        return true;
    default:
        return win::ModalDialog::OnCommand(id, code, control);
    }
}

void ChangeIconDialog::FileNameLeft() {
    ReadControls();
    if (file_ == remembered_) return;
    index_ = 0;
    FillList();
}

void ChangeIconDialog::Browse() {
    win::OpenFileRequest request;
    request.initialName = L"*.exe;*.dll;*.ico;*.icl";
    request.filter = L"*.exe|*.exe|*.dll|*.dll|*.ico|*.ico|*.icl|*.icl|*.*|*.*||";
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    std::wstring chosen = win::AskFileToOpen(Handle(), request);
    if (chosen.empty()) return;
    file_ = chosen;
    index_ = 0;
    FillList();
    ShowFileName();
}

// OK first lets the edit, if it has the focus, take its lost-focus step. A file name the user
// changed since the list was filled is loaded and shown instead of closing, so that the icon
// can be chosen from it; anything else closes.
void ChangeIconDialog::OnOK() {
    const bool typed = edited_;
    SetFocus(Item(IDOK));
    if (typed) {
        edited_ = false;
        ReadControls();
        if (file_ != listed_) {
            index_ = 0;
            FillList();
        }
        return;
    }
    ReadControls();
    End(IDOK);
}

bool ChangeIconDialog::OnMeasureItem(int id, MEASUREITEMSTRUCT& measure) {
    if (id != IDC_ICON_LIST) return false;
    const int cell = CellSize();
    measure.itemWidth = static_cast<UINT>(cell);
    measure.itemHeight = static_cast<UINT>(cell);
    return true;
}

bool ChangeIconDialog::OnDrawItem(int id, const DRAWITEMSTRUCT& draw) {
    if (id != IDC_ICON_LIST) return false;
    if (draw.itemID >= entries_.size()) return true;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    FillRect(draw.hDC, &draw.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    HICON icon = entries_[draw.itemID].icon.Get();
    const int side = IconSize();
    if (icon) {
        const int x = (draw.rcItem.left + draw.rcItem.right - side) / 2;
        const int y = (draw.rcItem.top + draw.rcItem.bottom - side) / 2;
        DrawIconEx(draw.hDC, x, y, icon, side, side, 0, nullptr, DI_NORMAL);
    }
    return true;
}

bool ChangeIconDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_DPICHANGED) ChangeDpi(LOWORD(wp));
    // Not handled: the system's own rescaling of the dialog goes on.
    return win::ModalDialog::OnMessage(msg, wp, lp, result);
}

// Closing releases the last fill's icons and the preview's copy.
void ChangeIconDialog::OnDestroy() {
    SendMessageW(Item(IDC_ICON_PREVIEW), STM_SETICON, 0, 0);
    preview_.Reset();
    entries_.clear();
}

}  // namespace orvale
