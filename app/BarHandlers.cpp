#include "app/BarHandlers.h"

#include "actions/ItemLauncher.h"
#include "actions/WindowCommands.h"
#include "dialogs/BarEditor.h"
#include "engine/BarHandlers.h"
#include "engine/BarWindow.h"
#include "engine/BarsOnScreen.h"
#include "engine/HookClient.h"
#include "engine/Tracker.h"
#include "resources/resource.h"
#include "win/ProgramWindows.h"

namespace orvale {
namespace {

// What the actions are told of the menu beside which `bar` was clicked.
ActionContext ContextFor(const BarWindow& bar) {
    const TrackerState& tracker = TrackerStateNow();
    ActionContext context;
    const HWND barWindow = bar.Handle();
    // The bar may be gone by then (its editor rebuilt it): it is looked for again.
    context.continueSwitchLater = [barWindow] { QueueBarCommand(barWindow, IDC_BAR_SWITCH_STEP2); };
    context.MenuOwnerWindow = tracker.MenuOwnerWindow;
    context.LastForeignWindow = tracker.LastForeignWindow;
    context.mainWindow = win::HostFrameWindow();
    context.hideBars = [] {
        NoteBarClicked();
        HideAllBars();
    };
    context.switchStarted = [] { NoteSwitchStarted(); };
    context.suspendMouseHook = [](bool suspend) { SuspendMouseHook(suspend); };
    return context;
}

HWND TaskTarget(const BarWindow& taskBar, int index) {
    if (index < 0 || index >= taskBar.count || !taskBar.buttons[index]) return nullptr;
    return taskBar.buttons[index]->targetWindow;
}

}  // namespace

void ConnectBarHandlers() {
    BarHandlers handlers;
    handlers.runItem = [](BarWindow& bar, ItemType type, const BarItem& item) {
        DispatchItemClick(type, item, ContextFor(bar));
    };
    handlers.continueSwitch = [](BarWindow& bar) { ContinueSwitchWindows(ContextFor(bar)); };
    handlers.switchToTask = [](BarWindow& taskBar, int index) {
        HWND target = TaskTarget(taskBar, index);
        if (!target) return;
        SwitchToTaskWindow(target, TaskTarget(taskBar, index + 1), ContextFor(taskBar));
    };
    handlers.editBar = [](BarDef& def) { EditBar(def); };
    handlers.barClicked = NoteBarClicked;
    handlers.barWindowCreated = NoteBarWindowCreated;
    handlers.actionStarting = NoteActionStarting;
    SetBarHandlers(std::move(handlers));
}

}  // namespace orvale
