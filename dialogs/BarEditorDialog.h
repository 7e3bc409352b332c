// What the two bar editors ("Bar Properties" and "TaskBar") share as windows: only one of them
// is open in the whole program at a time; it comes to the front with the keyboard as it opens,
// whoever asked for it; and the bars make way for it once the press that opened it is over.
#pragma once

#include <windows.h>

#include "win/Dialog.h"

namespace orvale {

class BarEditorDialog : public win::ModalDialog {
public:
    using ModalDialog::ModalDialog;

protected:
    // The last step of a derived OnInit (which then returns true, so the first field gets the
    // keyboard focus): the dialog becomes the open bar editor, is shown and takes the front.
    void OpenInFront();
    bool OnTimer(UINT_PTR id) override;
    void OnDestroy() override;

private:
    bool barsToHide_ = false;
};

// Brings the open bar editor, or the dialog open above it, to the front; false when no bar
// editor is open.
bool BringOpenBarEditorToFront();

}  // namespace orvale
