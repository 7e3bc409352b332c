#include "dialogs/TaskBarPropertiesDialog.h"

#include "resources/resource.h"

namespace orvale {

TaskBarPropertiesDialog::TaskBarPropertiesDialog(BarDef& taskBar)
    : BarEditorDialog(IDD_TASKBAR_PROPERTIES), taskBar_(taskBar) {
    BindCheck(IDC_BAR_HORIZONTAL, horizontal);
}

bool TaskBarPropertiesDialog::OnInit() {
    horizontal = taskBar_.IsHorizontal() ? 1 : 0;
    UpdateData(false);
    OpenInFront();
    return true;
}

void TaskBarPropertiesDialog::OnOK() {
    UpdateData(true);
    // The task bar's orientation lives in its single type node.
    if (BarNode* node = findNode(taskBar_, NodeTag::Type)) node->number = horizontal ? 1 : 0;
    End(IDOK);
}

}  // namespace orvale
