#include "dialogs/ContextDialog.h"

#include <utility>

#include "resources/resource.h"

namespace orvale {
namespace {

// Lists 29 to 31 are kept in the file but serve no bar.
constexpr int kEditableLists = 29;

std::wstring ListBoxString(HWND listBox, int index) {
    LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(index),
                               reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

// The window-title text for a new or edited entry, or false when the user cancelled.
bool AskWindowTitle(HWND owner, std::wstring& text) {
    WindowTitleDialog dialog(text);
    if (dialog.Run(owner) != IDOK) return false;
    text = dialog.Text();
    return true;
}

}  // namespace

// ---- "Window Title" ------------------------------------------------------------------------

WindowTitleDialog::WindowTitleDialog(std::wstring text)
    : win::ModalDialog(IDD_WINDOW_TITLE), text_(std::move(text)) {
    BindText(IDC_WINDOW_TITLE_EDIT, text_);
}

bool WindowTitleDialog::OnInit() {
    SendMessageW(Item(IDC_WINDOW_TITLE_EDIT), EM_LIMITTEXT, kMaxEntryLength, 0);
    UpdateData(false);
    return true;
}

void WindowTitleDialog::OnOK() {
    UpdateData(true);
    // The limit stops typing and pasting; text put in by other means is cut here.
    if (text_.size() > static_cast<size_t>(kMaxEntryLength)) text_.resize(kMaxEntryLength);
    End(IDOK);
}

// ---- "Context" -----------------------------------------------------------------------------

ContextDialog::ContextDialog(WindowList& list) : win::ModalDialog(IDD_CONTEXT), list_(list) {}

bool ContextDialog::OnInit() {
    HWND listBox = Item(IDC_CONTEXT_WINDOWS);
    for (const std::wstring& entry : list_.entries) {
        SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    CheckRadioButton(Handle(), IDC_CONTEXT_LISTED_ONLY, IDC_CONTEXT_ALL_EXCEPT,
                     list_.mode != 0 ? IDC_CONTEXT_ALL_EXCEPT : IDC_CONTEXT_LISTED_ONLY);
    return true;
}

bool ContextDialog::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_CONTEXT_ADD:
        if (code == BN_CLICKED) AddEntry();
        return true;
    case IDC_CONTEXT_EDIT:
        if (code == BN_CLICKED) EditEntry();
        return true;
    case IDC_CONTEXT_REMOVE:
        if (code == BN_CLICKED) RemoveEntry();
        return true;
    case IDC_CONTEXT_WINDOWS:
        if (code == LBN_DBLCLK) OnOK();
        return true;
    default:
        return win::ModalDialog::OnCommand(id, code, control);
    }
}

void ContextDialog::AddEntry() {
    std::wstring text;
    if (!AskWindowTitle(Handle(), text)) return;
    HWND listBox = Item(IDC_CONTEXT_WINDOWS);
    LRESULT index = SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) SendMessageW(listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ContextDialog::EditEntry() {
    HWND listBox = Item(IDC_CONTEXT_WINDOWS);
    LRESULT index = SendMessageW(listBox, LB_GETCURSEL, 0, 0);
    if (index < 0) return;
    std::wstring text = ListBoxString(listBox, static_cast<int>(index));
    if (!AskWindowTitle(Handle(), text)) return;
    // Inserting by position keeps the entry where it was; the list is sorted again only
    // when the dialog next opens.
    SendMessageW(listBox, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(listBox, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ContextDialog::RemoveEntry() {
    HWND listBox = Item(IDC_CONTEXT_WINDOWS);
    LRESULT index = SendMessageW(listBox, LB_GETCURSEL, 0, 0);
    if (index >= 0) SendMessageW(listBox, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

std::vector<std::wstring> ContextDialog::DisplayedEntries() const {
    HWND listBox = Item(IDC_CONTEXT_WINDOWS);
    LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    std::vector<std::wstring> entries;
    for (int i = 0; i < count; ++i) entries.push_back(ListBoxString(listBox, i));
    return entries;
}

void ContextDialog::OnOK() {
    list_.entries = DisplayedEntries();
    list_.mode = IsDlgButtonChecked(Handle(), IDC_CONTEXT_ALL_EXCEPT) == BST_CHECKED ? 1 : 0;
    End(IDOK);
}

void editList(int listIndex) {
    if (listIndex < 0 || listIndex >= kEditableLists) return;
    ContextDialog dialog(windowLists[listIndex]);
    dialog.Run(GetActiveWindow());
}

}  // namespace orvale
