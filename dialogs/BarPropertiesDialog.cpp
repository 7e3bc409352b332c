#include "dialogs/BarPropertiesDialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "dialogs/ContextDialog.h"
#include "dialogs/ItemPropertiesDialog.h"
#include "model/BuiltInItems.h"
#include "model/ProfileSyntax.h"
#include "resources/resource.h"
#include "win/Dpi.h"

namespace orvale {
namespace {

// What the "Add >>" entries that open an item editor preset: the template of the kind (its
// marker goes to `dir`) and the icon.
struct NewItemKind {
    int command;
    ItemKind kind;
    const wchar_t* iconFile;
    int iconIndex;
};
const NewItemKind kNewItemKinds[] = {
    {IDM_ADD_APPLICATION, ItemKind::Application, L"default", 0},
    {IDM_ADD_SELECT_FILE, ItemKind::SelectFile, L"shell32.dll", 3},
    {IDM_ADD_WEB_PAGE, ItemKind::WebPage, L"www.ico", 0},
    {IDM_ADD_EMAIL, ItemKind::EMail, L"email.ico", 0},
    {IDM_ADD_KEY_SEQUENCE, ItemKind::KeySequence, L"kseq.ico", 0},
};

const NewItemKind* FindNewItemKind(int command) {
    for (const NewItemKind& kind : kNewItemKinds) {
        if (kind.command == command) return &kind;
    }
    return nullptr;
}

// The file's name without its folder and extension: the tooltip of a dropped file.
std::wstring BareName(const std::wstring& path) {
    std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

ItemClipboard& TheItemClipboard() {
    static ItemClipboard clipboard;
    return clipboard;
}

BarPropertiesDialog::BarPropertiesDialog(BarDef& bar)
    : BarEditorDialog(IDD_BAR_PROPERTIES), bar_(bar) {
    BindText(IDC_BAR_NAME, name);
    BindCheck(IDC_BAR_HORIZONTAL, horizontal);
    BindCheck(IDC_BAR_ENABLE, enabled);
}

BarPropertiesDialog::~BarPropertiesDialog() = default;

bool BarPropertiesDialog::OnInit() {
    HWND list = Item(IDC_BAR_ITEMS);
    images_.Attach(list, win::DpiForWindow(Handle()));
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = 1000;
    column.pszText = const_cast<wchar_t*>(L"Name");
    ListView_InsertColumn(list, 0, &column);
    FillList();
    // No longer a name than the settings file gives back after a new start.
    SendMessageW(Item(IDC_BAR_NAME), EM_LIMITTEXT, kProfileValueLimit, 0);
    if (bar_.number < kFirstContextBar) ShowWindow(Item(IDC_BAR_CONTEXT), SW_HIDE);
    EnableWindow(Item(IDC_BAR_PASTE), TheItemClipboard().type.has_value());
    SetTimer(Handle(), IDT_BUTTON_STATES, 100, nullptr);
    UpdateData(false);
    UpdateButtons();
    OpenInFront();
    return true;
}

// ---- The list ----------------------------------------------------------------------------

void BarPropertiesDialog::FillList() {
    ListView_DeleteAllItems(Item(IDC_BAR_ITEMS));
    rows_.clear();
    found_.clear();
    name = bar_.Name();
    for (const BarItem& item : items(bar_)) {
        // The separator and codes of other versions have no row (nothing adds them here).
        const BuiltInItem* builtIn = FindBuiltIn(item.Type());
        const bool listed = item.IsAttributed() || (builtIn && builtIn->addCommand);
        found_.push_back({item.Node(), listed});
        if (!listed) continue;
        Row row;
        row.first = item.Node();
        InsertRow(static_cast<int>(rows_.size()), std::move(row), false);
    }
}

int BarPropertiesDialog::AppendImage(const BarItem& item) { return images_.Add(item); }

void BarPropertiesDialog::InsertRow(int index, Row row, bool select, int image) {
    const BarItem item(row.first);
    const BuiltInItem* builtIn = FindBuiltIn(item.Type());
    std::wstring text = item.IsAttributed() ? item.Tt() : builtIn ? builtIn->caption : L"";
    LVITEMW entry = {};
    entry.mask = LVIF_TEXT | LVIF_IMAGE;
    entry.iItem = index;
    entry.pszText = &text[0];
    entry.iImage = image == kNewImage ? AppendImage(item) : image;
    HWND list = Item(IDC_BAR_ITEMS);
    index = ListView_InsertItem(list, &entry);
    if (index < 0) return;
    rows_.insert(rows_.begin() + index, std::move(row));
    if (select) Select(index);
}

int BarPropertiesDialog::Selection() const {
    return ListView_GetNextItem(Item(IDC_BAR_ITEMS), -1, LVNI_SELECTED);
}

void BarPropertiesDialog::Select(int index) {
    HWND list = Item(IDC_BAR_ITEMS);
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list, -1, 0, both);
    if (index < 0 || index >= static_cast<int>(rows_.size())) return;
    ListView_SetItemState(list, index, both, both);
    ListView_EnsureVisible(list, index, FALSE);
}

// A bar window shows 64 buttons (items without a row take one too): a 65th would never
// appear, so it is not added.
bool BarPropertiesDialog::RoomForOneMore() {
    const auto unlisted = std::count_if(found_.begin(), found_.end(),
                                        [](const FoundItem& item) { return !item.listed; });
    if (rows_.size() + static_cast<size_t>(unlisted) < static_cast<size_t>(kMaxBarButtons)) {
        return true;
    }
    MessageBoxW(Handle(), L"A bar holds at most 64 items. Remove one before adding another.",
                L"Orvale", MB_OK | MB_ICONINFORMATION);
    return false;
}

bool BarPropertiesDialog::AddItemRow(const ItemAttributes& values) {
    if (!RoomForOneMore()) return false;
    Row row;
    row.detached = std::make_unique<ItemRun>(makeItem(ItemType::Attributed, values));
    row.first = row.detached->First();
    InsertRow(static_cast<int>(rows_.size()), std::move(row), true);
    return true;
}

void BarPropertiesDialog::AddBuiltInRow(ItemType type) {
    if (!RoomForOneMore()) return;
    Row row;
    row.detached = std::make_unique<ItemRun>(makeItem(type));
    row.first = row.detached->First();
    InsertRow(static_cast<int>(rows_.size()), std::move(row), false);
}

std::vector<BarNode*> BarPropertiesDialog::RowItems() const {
    std::vector<BarNode*> firsts;
    for (const Row& row : rows_) firsts.push_back(row.first);
    return firsts;
}

// ---- Commands ----------------------------------------------------------------------------

bool BarPropertiesDialog::OnCommand(int id, int code, HWND control) {
    if (const BuiltInItem* builtIn = FindBuiltInByAddCommand(id)) {
        AddBuiltInRow(builtIn->type);
        return true;
    }
    if (const NewItemKind* kind = FindNewItemKind(id)) {
        AddEditedItem(kind->kind, kind->iconFile, kind->iconIndex);
        return true;
    }
    switch (id) {
    case IDM_ADD_EMPTY_MACRO:
    case IDM_ADD_RECORD_MACRO:
    case IDM_ADD_SELECT_MACRO: AddMacro(id); return true;
    case IDC_BAR_ADD: ShowAddMenu(); return true;
    case IDC_BAR_PROPERTIES: EditProperties(); return true;
    case IDC_BAR_REMOVE: RemoveSelected(); return true;
    case IDC_BAR_UP: Move(-1); return true;
    case IDC_BAR_DOWN: Move(+1); return true;
    case IDC_BAR_COPY: Copy(); return true;
    case IDC_BAR_PASTE: Paste(); return true;
    case IDC_BAR_CONTEXT: editList(bar_.number - kFirstContextBar); return true;
    default: return BarEditorDialog::OnCommand(id, code, control);
    }
}

bool BarPropertiesDialog::OnNotify(int id, NMHDR& header, LRESULT& /*result*/) {
    if (id != IDC_BAR_ITEMS) return false;
    if (header.code == NM_DBLCLK) {
        EditProperties();
        return true;
    }
    if (header.code == LVN_KEYDOWN &&
        reinterpret_cast<NMLVKEYDOWN&>(header).wVKey == VK_DELETE) {
        RemoveSelected();
        return true;
    }
    return false;
}

bool BarPropertiesDialog::OnTimer(UINT_PTR id) {
    if (id != IDT_BUTTON_STATES) return BarEditorDialog::OnTimer(id);
    UpdateButtons();
    return true;
}

bool BarPropertiesDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_DROPFILES) {
        DropFiles(reinterpret_cast<HDROP>(wp));
        result = 0;
        return true;
    }
    if (msg == WM_DPICHANGED) {
        // The system rescales the template's controls; the pictures are ours to make again.
        const std::vector<BarNode*> firsts = RowItems();
        images_.ChangeDpi(LOWORD(wp), std::vector<BarItem>(firsts.begin(), firsts.end()));
    }
    return BarEditorDialog::OnMessage(msg, wp, lp, result);
}

void BarPropertiesDialog::UpdateButtons() {
    const int selected = Selection();
    const int count = static_cast<int>(rows_.size());
    const bool any = selected >= 0 && selected < count;
    EnableWindow(Item(IDC_BAR_PROPERTIES),
                 any && BarItem(rows_[static_cast<size_t>(selected)].first).IsAttributed());
    EnableWindow(Item(IDC_BAR_UP), any && selected != 0);
    EnableWindow(Item(IDC_BAR_DOWN), any && selected != count - 1);
    EnableWindow(Item(IDC_BAR_REMOVE), any);
}

void BarPropertiesDialog::ShowAddMenu() {
    win::MenuHandle menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ADD_MENU)));
    if (!menu) return;
    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenu(GetSubMenu(menu.Get(), 0), TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x + 8,
                   cursor.y - 6, 0, Handle(), nullptr);
}

void BarPropertiesDialog::EditProperties() {
    const int selected = Selection();
    if (selected < 0 || selected >= static_cast<int>(rows_.size())) return;
    const BarItem item(rows_[static_cast<size_t>(selected)].first);
    if (!item.IsAttributed()) return;
    ItemPropertiesDialog editor(ItemTemplateFor(itemKind(item.Dir())));
    editor.values = item.Attributes();
    if (editor.Run(Handle()) != IDOK) return;
    // Written into the item at once; the row is made anew for its text and icon.
    setItemAttributes(item, editor.values);
    Row row = std::move(rows_[static_cast<size_t>(selected)]);
    ListView_DeleteItem(Item(IDC_BAR_ITEMS), selected);
    rows_.erase(rows_.begin() + selected);
    InsertRow(selected, std::move(row), true);
}

// ---- "Add >>" entries that open an editor ------------------------------------------------

void BarPropertiesDialog::AddEditedItem(ItemKind kind, const wchar_t* iconFile, int iconIndex) {
    if (!RoomForOneMore()) return;
    ItemPropertiesDialog editor(ItemTemplateFor(kind));
    editor.values.ipth = iconFile;
    editor.values.inum = iconIndex;
    if (kind != ItemKind::Application) editor.values.dir = kindMarker(kind);
    if (editor.Run(Handle()) == IDOK) AddItemRow(editor.values);
}

void BarPropertiesDialog::AddMacro(int command) {
    if (!MacroToolInstalled(Handle()) || !RoomForOneMore()) return;
    ItemAttributes values;
    if (macros_.Add(command, Handle(), RowItems(), values)) AddItemRow(values);
}

void BarPropertiesDialog::RemoveSelected() {
    const int selected = Selection();
    if (selected < 0 || selected >= static_cast<int>(rows_.size())) return;
    const BarItem item(rows_[static_cast<size_t>(selected)].first);
    macros_.NoteRemoved(item);
    ListView_DeleteItem(Item(IDC_BAR_ITEMS), selected);
    rows_.erase(rows_.begin() + selected);
    Select(std::min(selected, static_cast<int>(rows_.size()) - 1));
}

void BarPropertiesDialog::Move(int by) {
    const int selected = Selection();
    const int target = selected + by;
    if (selected < 0 || target < 0 || target >= static_cast<int>(rows_.size())) return;
    HWND list = Item(IDC_BAR_ITEMS);
    // Taking the lower of the two rows out and putting it back above the other swaps them.
    const int upper = std::min(selected, target);
    LVITEMW lower = {};
    lower.mask = LVIF_IMAGE;
    lower.iItem = upper + 1;
    ListView_GetItem(list, &lower);
    Row row = std::move(rows_[static_cast<size_t>(upper + 1)]);
    ListView_DeleteItem(list, upper + 1);
    rows_.erase(rows_.begin() + upper + 1);
    InsertRow(upper, std::move(row), false, lower.iImage);
    Select(target);
}

void BarPropertiesDialog::Copy() {
    const int selected = Selection();
    if (selected < 0 || selected >= static_cast<int>(rows_.size())) return;
    const BarItem item(rows_[static_cast<size_t>(selected)].first);
    ItemClipboard& clipboard = TheItemClipboard();
    clipboard.type = item.Type();
    if (item.IsAttributed()) clipboard.attributes = item.Attributes();
    EnableWindow(Item(IDC_BAR_PASTE), TRUE);
}

void BarPropertiesDialog::Paste() {
    ItemClipboard& clipboard = TheItemClipboard();
    if (clipboard.type == ItemType::Attributed) {
        if (!RoomForOneMore()) return;
        // A macro item gets a copy of its macro, which the clipboard then holds; without a
        // copy there is nothing to paste.
        if (macros_.CopyForPaste(Handle(), clipboard.attributes)) AddItemRow(clipboard.attributes);
    } else if (const BuiltInItem* builtIn = clipboard.type ? FindBuiltIn(*clipboard.type) : nullptr) {
        if (builtIn->addCommand) AddBuiltInRow(builtIn->type);
    }
}

void BarPropertiesDialog::DropFiles(HDROP drop) {
    // Only the first file counts; every file, shortcut or folder becomes an Application item.
    UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(static_cast<size_t>(length) + 1, L'\0');
    if (length > 0) DragQueryFileW(drop, 0, &path[0], length + 1);
    path.resize(length);
    DragFinish(drop);
    if (path.empty()) return;
    ItemAttributes values;
    values.pth = path;
    values.ipth = L"default";
    values.tt = BareName(path);
    AddItemRow(values);
}

// ---- OK and Cancel ------------------------------------------------------------------------

void BarPropertiesDialog::OnOK() {
    macros_.Confirm(Handle());
    UpdateData(true);
    for (Row& row : rows_) {
        if (row.detached) adoptRun(bar_, std::move(*row.detached));
    }
    relinkBar(bar_, name, itemOrder(found_, RowItems()));
    End(IDOK);
}

void BarPropertiesDialog::OnCancel() {
    macros_.Discard(Handle());
    End(IDCANCEL);
}

}  // namespace orvale
