#include "dialogs/ItemPropertiesDialog.h"

#include <string>
#include <vector>

#include "actions/MacroTool.h"
#include "actions/ShellFolders.h"
#include "dialogs/ChangeIconDialog.h"
#include "dialogs/MacroFileDialog.h"
#include "dialogs/MacroToolCalls.h"
#include "dialogs/MacrosInfoDialog.h"
#include "dialogs/AddKeyDialog.h"
#include "model/ProfileSyntax.h"
#include "win/OpenFileDialog.h"
#include "win/Text.h"

namespace orvale {
namespace {

constexpr const wchar_t* kTooLongMessage =
    L"The key sequence is too long.  Use macros for more complex tasks.";
constexpr const wchar_t* kProgramPatterns = L"*.exe;*.lnk;*.bat;*.com";

// What each entry of the ">>" menu starts the file dialog with.
struct BrowseStart {
    UINT command;
    bool hasFolder;
    SpecialFolder folder;
    const wchar_t* pattern;
    bool controlPanel;  // the chosen file is opened by "control.exe"
};

constexpr BrowseStart kBrowseStarts[] = {
    {IDM_BROWSE_START_MENU, true, SpecialFolder::StartMenu, L"*.lnk", false},
    {IDM_BROWSE_WINDOWS, true, SpecialFolder::Windows, kProgramPatterns, false},
    {IDM_BROWSE_PROGRAM_FILES, true, SpecialFolder::ProgramFiles, kProgramPatterns, false},
    {IDM_BROWSE_CONTROL_PANEL, true, SpecialFolder::System, L"*.cpl", true},
    {IDM_BROWSE_OTHER, false, SpecialFolder::Windows, kProgramPatterns, false},
};

const BrowseStart* BrowseStartOf(UINT command) {
    for (const BrowseStart& start : kBrowseStarts) {
        if (start.command == command) return &start;
    }
    return nullptr;
}

UINT ChooseFromBrowseMenu(HWND owner) {
    win::MenuHandle menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_BROWSE_MENU)));
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup) return 0;
    POINT cursor = {};
    GetCursorPos(&cursor);
    return static_cast<UINT>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTALIGN, cursor.x + 8,
                                            cursor.y - 6, 0, owner, nullptr));
}

// Hides `dialog` and up to three levels of its owners; ShowAgain brings back what it hid.
std::vector<HWND> HideWithOwners(HWND dialog) {
    std::vector<HWND> hidden;
    HWND window = dialog;
    for (int level = 0; window && level <= 3; ++level, window = GetWindow(window, GW_OWNER)) {
        if (!IsWindowVisible(window)) continue;
        ShowWindow(window, SW_HIDE);
        hidden.push_back(window);
    }
    return hidden;
}

void ShowAgain(const std::vector<HWND>& hidden) {
    for (auto window = hidden.rbegin(); window != hidden.rend(); ++window) {
        ShowWindow(*window, SW_SHOW);
    }
}

}  // namespace

int ItemTemplateFor(ItemKind kind) {
    switch (kind) {
    case ItemKind::EMail: return IDD_ITEM_EMAIL;
    case ItemKind::WebPage: return IDD_ITEM_WEB_PAGE;
    case ItemKind::Macro: return IDD_ITEM_MACRO;
    case ItemKind::KeySequence: return IDD_ITEM_KEY_SEQUENCE;
    case ItemKind::SelectFile: return IDD_ITEM_SELECT_FILE;
    case ItemKind::Application: break;
    }
    return IDD_ITEM_APPLICATION;
}

ItemPropertiesDialog::ItemPropertiesDialog(int templateId) : win::ModalDialog(templateId) {}

// Fields are bound only to the controls the template has, so a field a template lacks keeps
// its value instead of taking an empty text.
bool ItemPropertiesDialog::OnInit() {
    const struct {
        int id;
        std::wstring* field;
    } fields[] = {{IDC_ITEM_PTH, &values.pth}, {IDC_ITEM_DIR, &values.dir},
                  {IDC_ITEM_PAR, &values.par}, {IDC_ITEM_WND, &values.wnd},
                  {IDC_ITEM_TT, &values.tt}};
    for (const auto& field : fields) {
        if (!Item(field.id)) continue;
        BindText(field.id, *field.field);
        // No more than the settings file gives back after a new start; a key sequence keeps to
        // its own length (one made longer by "Add special key >>" is refused on OK).
        const bool keys = TemplateId() == IDD_ITEM_KEY_SEQUENCE && field.id == IDC_ITEM_PTH;
        const size_t limit = keys ? kMaxKeySequenceLength : kProfileValueLimit;
        SendMessageW(Item(field.id), EM_LIMITTEXT, limit, 0);
    }
    UpdateData(false);
    RefreshIconPreview();
    return true;
}

bool ItemPropertiesDialog::OnCommand(int id, int code, HWND control) {
    if (id == IDC_ITEM_PTH) {
        // The preview follows what the user typed as soon as the field is left.
        if (code == EN_KILLFOCUS) {
            UpdateData(true);
            RefreshIconPreview();
        }
        return true;
    }
    if (code != BN_CLICKED) return win::ModalDialog::OnCommand(id, code, control);
    switch (id) {
    case IDC_ITEM_CHANGE_ICON: ChangeIcon(); return true;
    case IDC_ITEM_BROWSE: BrowseForProgram(); return true;
    case IDC_ITEM_SPECIAL_KEY: AddSpecialKey(); return true;
    case IDC_ITEM_MORE_MACROS: ShowMacrosInformation(Handle()); return true;
    case IDC_ITEM_SELECT_MACRO: SelectMacro(); return true;
    case IDC_ITEM_EDIT_MACRO: EditMacro(); return true;
    case IDC_ITEM_RECORD_MACRO: RecordMacro(); return true;
    default: return win::ModalDialog::OnCommand(id, code, control);
    }
}

void ItemPropertiesDialog::RefreshIconPreview() {
    HWND preview = Item(IDC_ITEM_ICON);
    SendMessageW(preview, STM_SETICON, 0, 0);
    preview_.Reset();
    ItemRun run = makeItem(ItemType::Attributed, values);
    HICON icon = loadItemIcon(BarItem(run.First()), /*small=*/false);
    SendMessageW(preview, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    preview_.Reset(icon);
}

void ItemPropertiesDialog::BrowseForProgram() {
    const BrowseStart* start = BrowseStartOf(ChooseFromBrowseMenu(Handle()));
    if (!start) return;
    win::OpenFileRequest request;
    request.initialName = start->pattern;
    request.filter =
        L"Executable (*.exe)|*.exe|Shortcut (*.lnk)|*.lnk|Batch (*.bat)|*.bat|All (*.*)|*.*||";
    request.title = L"Select";
    if (start->hasFolder) request.folder = SpecialFolderPath(start->folder);
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    UpdateData(true);
    const std::wstring chosen = win::AskFileToOpen(Handle(), request);
    if (chosen.empty()) return;
    if (start->controlPanel) {
        values.pth = L"control.exe";
        values.par = chosen;
        values.ipth = chosen;
        values.inum = 0;
    } else {
        values.pth = chosen;
        values.par.clear();
        values.ipth = L"default";
    }
    RefreshIconPreview();
    UpdateData(false);
}

void ItemPropertiesDialog::ChangeIcon() {
    UpdateData(true);
    ChangeIconDialog dialog(values.ipth, values.inum);
    if (dialog.Run(Handle()) != IDOK) return;
    values.ipth = dialog.File();
    values.inum = dialog.Index();
    RefreshIconPreview();
}

// The token goes at the end of the sequence, wherever the caret is.
void ItemPropertiesDialog::AddSpecialKey() {
    std::wstring token;
    if (!AskSpecialKey(Handle(), token)) return;
    HWND sequence = Item(IDC_ITEM_PTH);
    SetWindowTextW(sequence, (win::WindowText(sequence) + token).c_str());
}

// The macro becomes whatever the tool reports as selected, even when it answered failure.
// The macro and its file change together, from one answer of the tool: a selection the user
// cancelled in the tool changes neither.
void ItemPropertiesDialog::SelectMacro() {
    std::wstring file;
    if (!chooseMacroFile(Handle(), file)) return;
    UpdateData(true);
    const std::wstring name =
        AnsweredMacroName(Handle(), RunMacroToolFrom(Handle(), L"", MacroVerb::Select, file));
    if (name.empty()) return;
    values.pth = file;
    values.par = name;
    UpdateData(false);
}

void ItemPropertiesDialog::EditMacro() {
    UpdateData(true);
    if (AcceptMacroName(Handle(), values.par)) {
        RunMacroToolFrom(Handle(), values.par, MacroVerb::Edit, values.pth);
    }
}

// The program's windows would be in the way of what the user records: they are hidden while
// the tool records, and a recorded macro closes the dialog as OK does.
void ItemPropertiesDialog::RecordMacro() {
    UpdateData(true);
    if (!AcceptMacroName(Handle(), values.par)) return;
    const std::vector<HWND> hidden = HideWithOwners(Handle());
    const bool recorded = RunMacroTool(values.par, MacroVerb::Record, values.pth);
    ShowAgain(hidden);
    SetForegroundWindow(Handle());
    if (recorded) OnOK();
}

void ItemPropertiesDialog::OnOK() {
    UpdateData(true);
    if (TemplateId() == IDD_ITEM_KEY_SEQUENCE && values.pth.size() > kMaxKeySequenceLength) {
        MessageBoxW(Handle(), kTooLongMessage, L"Orvale", MB_OK);
        return;
    }
    End(IDOK);
}

}  // namespace orvale
