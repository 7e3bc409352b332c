#include "dialogs/BarEditor.h"

#include "dialogs/BarEditorDialog.h"
#include "dialogs/BarPropertiesDialog.h"
#include "dialogs/SaveProblem.h"
#include "dialogs/TaskBarPropertiesDialog.h"
#include "engine/BarTable.h"
#include "model/SettingsFile.h"

namespace orvale {
namespace {

bool EditTaskBar(BarDef& taskBar, HWND owner) {
    TaskBarPropertiesDialog dialog(taskBar);
    if (dialog.Run(owner) != IDOK) return false;
    // Its buttons were laid out for the old orientation: the window is built afresh.
    DestroyBarWindow(0);
    CreateTaskBarWindow();
    writeInt(L"TaskBar+", L"en", taskBar.enabled ? 1 : 0);
    writeInt(L"TaskBar+", L"horiz", taskBar.Orientation());
    ReportSave(owner, saveSettings());
    return true;
}

bool EditMenuBar(BarDef& bar, HWND owner) {
    HWND wasActive = GetForegroundWindow();
    BarPropertiesDialog dialog(bar);
    dialog.horizontal = bar.IsHorizontal() ? 1 : 0;
    dialog.enabled = bar.enabled ? 1 : 0;
    if (dialog.Run(owner) != IDOK) return false;

    // The bar window is built afresh; it may be the very window whose press opened the editor,
    // which is let go of once that press has been handled.
    DestroyBarWindow(bar.number);
    if (bar.nodes) bar.nodes->number = dialog.horizontal;
    bar.enabled = dialog.enabled ? 1 : 0;
    if (bar.enabled) {
        CreateMenuBarWindow(bar.number);
        if (IsWindow(wasActive)) SetForegroundWindow(wasActive);
    }
    ReportSave(owner, saveBarItems(bar.number));
    return true;
}

}  // namespace

bool EditBar(BarDef& bar, HWND owner) {
    // One bar editor at a time: two would each relink their bar from their own list of items,
    // and the last OK would drop what the other confirmed and saved.
    if (BringOpenBarEditorToFront()) return false;
    return bar.number == 0 ? EditTaskBar(bar, owner) : EditMenuBar(bar, owner);
}

}  // namespace orvale
