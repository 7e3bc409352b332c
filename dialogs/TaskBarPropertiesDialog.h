// "TaskBar": the menu task bar's orientation.
#pragma once

#include "dialogs/BarEditorDialog.h"
#include "model/BarModel.h"

namespace orvale {

class TaskBarPropertiesDialog : public BarEditorDialog {
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
