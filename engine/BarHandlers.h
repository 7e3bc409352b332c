// What the bars report, and what they ask, is answered above the engine: the program hands the
// bars these handlers at start-up (app/BarHandlers.cpp wires them to the actions, the bar editor
// and the tracker). A bar or a button calls nothing above it; every click, every event and every
// question about the world around it goes through here. A handler may rebuild or remove the
// very bar that called it. One left empty does nothing, and a question left empty answers no.
#pragma once

#include <functional>

#include "model/BarModel.h"

namespace orvale {

class BarWindow;

struct BarHandlers {
    // A button of an item: `type` is its type code (101 with its item, 102-110 without).
    std::function<void(BarWindow& bar, ItemType type, const BarItem& item)> runItem;
    // The second step of Switch Windows, posted to the bar by the first.
    std::function<void(BarWindow& bar)> continueSwitch;
    // Task-bar button `index`.
    std::function<void(BarWindow& bar, int index)> switchToTask;
    // A press on the bar outside its buttons, or a button's edit command.
    std::function<void(BarDef& def)> editBar;

    // A bar was clicked or pressed (before its command runs or its editor opens).
    std::function<void()> barClicked;
    // A bar window is being created.
    std::function<void()> barWindowCreated;
    // A bar's action is about to run.
    std::function<void()> actionStarting;
};

void SetBarHandlers(BarHandlers handlers);
const BarHandlers& CurrentBarHandlers();

}  // namespace orvale
