#include "dialogs/BarMacros.h"

#include "actions/MacroTool.h"
#include "dialogs/MacroToolCalls.h"
#include "dialogs/ItemPropertiesDialog.h"
#include "dialogs/MacroFileDialog.h"
#include "dialogs/MacrosInfoDialog.h"
#include "resources/resource.h"

namespace orvale {
namespace {

// One rule for what an item is, the launcher's: the first kind marker in `dir` decides.
bool IsMacro(const BarItem& item) {
    return item.IsAttributed() && itemKind(item.Dir()) == ItemKind::Macro;
}

bool MacroNameInUse(const std::wstring& name, const std::vector<BarNode*>& rows) {
    auto uses = [&](const BarItem& item) { return IsMacro(item) && item.Par() == name; };
    for (const BarDef& bar : barDefs) {
        for (const BarItem& item : items(bar)) {
            if (uses(item)) return true;
        }
    }
    for (BarNode* row : rows) {
        if (uses(BarItem(row))) return true;
    }
    return false;
}

// The Macro Properties editor of a new macro item, which starts on macro `name` of `file`. Its
// own "Select Macro" may choose another macro; the name and the file always come from the same
// answer, so the item takes the pair the editor ends with.
bool EditNewMacro(HWND owner, const std::wstring& name, const std::wstring& file,
                  ItemAttributes& values) {
    ItemPropertiesDialog editor(IDD_ITEM_MACRO);
    editor.values.ipth = L"macro.ico";
    editor.values.par = name;
    editor.values.pth = file;
    editor.values.dir = kindMarker(ItemKind::Macro);
    if (editor.Run(owner) != IDOK) return false;
    values = editor.values;
    values.wnd.clear();
    values.dir = kindMarker(ItemKind::Macro);
    return true;
}

// Whether the new item names the macro a flow made (rather than one its editor selected).
bool NamesMacro(const ItemAttributes& values, const std::wstring& name) {
    return values.par == name && values.pth.empty();
}

}  // namespace

// The macro tool's path is empty when it is not installed.
bool MacroToolInstalled(HWND owner) {
    if (!ExchangeFile::ReadPath(ExchangeFile::kMacroTool).empty()) return true;
    ShowMacrosInformation(owner);
    return false;
}

bool BarMacros::Add(int command, HWND editor, const std::vector<BarNode*>& rows,
                    ItemAttributes& values) {
    if (command == IDM_ADD_SELECT_MACRO) return AddSelected(editor, values);
    const std::wstring name = NewMacroName(
        [&rows](const std::wstring& candidate) { return MacroNameInUse(candidate, rows); });
    if (command == IDM_ADD_EMPTY_MACRO) return AddEmpty(editor, name, values);
    if (command == IDM_ADD_RECORD_MACRO) return AddRecorded(editor, name, values);
    return false;
}

// The macro made for a new item goes again when the item is not added, or names another one.
bool BarMacros::AddEmpty(HWND editor, const std::wstring& name, ItemAttributes& values) {
    if (!RunMacroToolFrom(editor, name, MacroVerb::Add)) return false;
    const bool added = EditNewMacro(editor, name, L"", values);
    if (!added || !NamesMacro(values, name)) RunMacroToolFrom(editor, name, MacroVerb::Delete);
    return added;
}

bool BarMacros::AddRecorded(HWND editor, const std::wstring& name, ItemAttributes& values) {
    if (!RunMacroToolFrom(editor, name, MacroVerb::New)) return false;
    ShowWindow(editor, SW_HIDE);
    bool added = false;
    // A recording that fails leaves the macro just made in the macro file.
    if (RunMacroToolFrom(editor, name, MacroVerb::Record)) {
        // Brought back to the front before the item's editor opens above it.
        SetWindowPos(editor, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetWindowPos(editor, HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(editor);
        added = EditNewMacro(editor, name, L"", values);
        if (!added || !NamesMacro(values, name)) {
            RunMacroToolFrom(editor, name, MacroVerb::Delete);
        }
    }
    ShowWindow(editor, SW_SHOW);
    SetForegroundWindow(editor);
    return added;
}

bool BarMacros::AddSelected(HWND editor, ItemAttributes& values) {
    std::wstring file;
    if (!chooseMacroFile(editor, file)) return false;
    const std::wstring name =
        AnsweredMacroName(editor, RunMacroToolFrom(editor, L"", MacroVerb::Select, file));
    return !name.empty() && EditNewMacro(editor, name, file, values);
}

bool BarMacros::CopyForPaste(HWND editor, ItemAttributes& pasted) {
    if (itemKind(pasted.dir) != ItemKind::Macro) return true;
    // A copy that failed leaves no name to paste: whatever "strres" held before is not it.
    const std::wstring copy = AnsweredMacroName(
        editor, AcceptMacroName(editor, pasted.par) &&
                    RunMacroToolFrom(editor, pasted.par, MacroVerb::Copy, pasted.pth));
    if (copy.empty()) return false;
    // Every later paste of the same clipboard copies this copy.
    pasted.par = copy;
    pastedCopies_.push_back({pasted.par, pasted.pth});
    return true;
}

void BarMacros::NoteRemoved(const BarItem& item) {
    if (IsMacro(item) && item.Pth().empty()) pendingDeletions_.push_back({item.Par(), L""});
}

void BarMacros::Confirm(HWND editor) {
    for (const MacroRef& macro : pendingDeletions_) {
        RunMacroToolFrom(editor, macro.first, MacroVerb::Delete, macro.second);
    }
}

void BarMacros::Discard(HWND editor) {
    for (const MacroRef& macro : pastedCopies_) {
        RunMacroToolFrom(editor, macro.first, MacroVerb::Delete, macro.second);
    }
}

}  // namespace orvale
