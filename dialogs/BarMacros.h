// The bar editor's dealings with the macro tool: the "Add >>" macro entries (an empty macro, a
// recorded one, one selected from a macro file), the macro copy a pasted macro item gets, and
// what OK and Cancel leave in the macro files. Until the editor ends, macros of removed items
// are only noted, and pasted copies are deleted again if it is cancelled.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "model/BarModel.h"

namespace orvale {

// True when the macro tool is installed; otherwise tells the user what macros are and where
// the tool comes from, and false.
bool MacroToolInstalled(HWND owner);

class BarMacros {
public:
    // Runs the flow of "Add >>" entry `command` (IDM_ADD_EMPTY_MACRO, IDM_ADD_RECORD_MACRO,
    // IDM_ADD_SELECT_MACRO) over the editor `editor`: the tool makes the macro, the user edits
    // the new item. True with the item's values (a macro's name and file always from one answer
    // of the tool); false when the tool or the user gave up. A macro made for the item that the
    // item does not name is deleted again. `rows` are the items the editor
    // lists, new ones included: a new macro's name is used by none of them, nor by any bar.
    bool Add(int command, HWND editor, const std::vector<BarNode*>& rows, ItemAttributes& values);
    // Gives a pasted macro item a copy of its macro (`pasted` then names the copy); other items
    // stay as they are. False when the copy could not be made: nothing is to be pasted.
    bool CopyForPaste(HWND editor, ItemAttributes& pasted);
    // Notes an item the user removed: a macro of the default macro file goes with it on OK.
    void NoteRemoved(const BarItem& item);
    // OK: deletes the macros of removed items. Cancel: deletes the pasted copies. `editor` takes
    // no input meanwhile.
    void Confirm(HWND editor);
    void Discard(HWND editor);

private:
    using MacroRef = std::pair<std::wstring, std::wstring>;  // macro name, macro file

    bool AddEmpty(HWND editor, const std::wstring& name, ItemAttributes& values);
    bool AddRecorded(HWND editor, const std::wstring& name, ItemAttributes& values);
    bool AddSelected(HWND editor, ItemAttributes& values);

    std::vector<MacroRef> pendingDeletions_;
    std::vector<MacroRef> pastedCopies_;
};

}  // namespace orvale
