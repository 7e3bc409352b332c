// "Bar Properties": a menu bar's name, its items (with their icons, added, edited, reordered,
// copied, pasted, dropped in and removed), its context window list, orientation and enabled
// flag. It edits the live bar: OK relinks the bar to the listed items, Cancel leaves the bar's
// list as it was.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/BarEditorDialog.h"
#include "dialogs/BarMacros.h"
#include "dialogs/ItemImages.h"
#include "model/BarModel.h"
#include "model/ItemOrder.h"
#include "win/Dialog.h"
#include "win/Handles.h"

namespace orvale {

// One copied item, shared by every bar editor for the life of the program.
struct ItemClipboard {
    std::optional<ItemType> type;  // none: nothing copied yet
    ItemAttributes attributes;
};
ItemClipboard& TheItemClipboard();

class BarPropertiesDialog : public BarEditorDialog {
public:
    explicit BarPropertiesDialog(BarDef& bar);
    ~BarPropertiesDialog() override;

    // The control values: the bar's name, orientation and enabled flag.
    std::wstring name;
    int horizontal = 0;
    int enabled = 0;

    // Appends a new attributed item with these values and selects it; false (after telling
    // the user) when the bar is full.
    bool AddItemRow(const ItemAttributes& values);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(int id, NMHDR& header, LRESULT& result) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnOK() override;
    void OnCancel() override;

private:
    // One row of the list: an item of the bar, or a new one that joins it only on OK.
    struct Row {
        BarNode* first = nullptr;
        std::unique_ptr<ItemRun> detached;  // owns a new item's nodes until OK
    };

    void FillList();
    static constexpr int kNewImage = -2;
    // Inserts the row's text and image (a new image of its icon, unless given).
    void InsertRow(int index, Row row, bool select, int image = kNewImage);
    int AppendImage(const BarItem& item);
    int Selection() const;
    void Select(int index);
    bool RoomForOneMore();
    void AddBuiltInRow(ItemType type);
    std::vector<BarNode*> RowItems() const;

    void ShowAddMenu();
    void EditProperties();
    void AddEditedItem(ItemKind kind, const wchar_t* iconFile, int iconIndex);
    void AddMacro(int command);
    void RemoveSelected();
    void Move(int by);
    void Copy();
    void Paste();
    void DropFiles(HDROP drop);
    void UpdateButtons();

    BarDef& bar_;
    std::vector<Row> rows_;         // in the list's order
    std::vector<FoundItem> found_;  // the bar's items as the list was filled
    ItemImages images_;
    BarMacros macros_;
};

}  // namespace orvale
