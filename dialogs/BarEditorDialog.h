// What the two bar editors ("Bar Properties" and "TaskBar") share as windows: each comes to the
// front with the keyboard as it opens, whoever asked for it, and the bars make way for it once
// the press that opened it is over.
#pragma once

#include <windows.h>

#include "win/Dialog.h"

namespace orvale {

class BarEditorDialog : public win::ModalDialog {
public:
    using ModalDialog::ModalDialog;

protected:
    // The last step of a derived OnInit (which then returns true, so the first field gets the
    // keyboard focus): the dialog is shown and takes the front.
    void OpenInFront();
    bool OnTimer(UINT_PTR id) override;
    void OnDestroy() override;

private:
    bool barsToHide_ = false;
};

}  // namespace orvale
