// "TaskBar": the menu task bar's orientation.
#pragma once

#include "model/BarModel.h"
#include "win/Dialog.h"

namespace orvale {

class TaskBarPropertiesDialog : public win::ModalDialog {
public:
    explicit TaskBarPropertiesDialog(BarDef& taskBar);
    int horizontal = 0;

protected:
    bool OnInit() override;
    void OnOK() override;

private:
    BarDef& taskBar_;
};

}  // namespace orvale
