// The editor of every attributed item: one dialog class with one template per item kind. The
// caller fills `values` before Run and reads them back after IDOK. A template shows the fields
// and buttons of its kind; the others are hidden, and the hidden start-up directory field holds
// the kind's marker so that it comes back unchanged.
#pragma once

#include "model/BarModel.h"
#include "resources/resource.h"
#include "win/Dialog.h"
#include "win/Handles.h"

namespace orvale {

// The template that edits an item of `kind`.
int ItemTemplateFor(ItemKind kind);

// The longest key sequence an item may hold.
constexpr size_t kMaxKeySequenceLength = 128;

class ItemPropertiesDialog : public win::ModalDialog {
public:
    explicit ItemPropertiesDialog(int templateId = IDD_ITEM_APPLICATION);

    ItemAttributes values;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    // Shows the icon that the bar would show for the current fields.
    void RefreshIconPreview();
    // ">>": a menu of likely folders, then a file dialog there; fills path, parameters and icon.
    void BrowseForProgram();
    void ChangeIcon();
    void AddSpecialKey();
    void SelectMacro();
    void EditMacro();
    void RecordMacro();

    win::IconHandle preview_;
};

}  // namespace orvale
