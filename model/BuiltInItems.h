// The built-in window commands as the bar and the bar editor show them: one table, so a
// command looks the same on a bar, in the editor's list and in its "Add >>" menu.
#pragma once

#include <cstdint>

#include "model/BarModel.h"

namespace orvale {

struct BuiltInItem {
    ItemType type;
    int icon;                // the program's icon resource
    const wchar_t* caption;  // the button's tooltip and the editor's row text
    int barCommand;          // the command id of its button on a bar
    int addCommand;          // the "Add >>" menu command that adds it; 0 for none
};

// The table entry of a type code, or null for 101 and codes without one.
const BuiltInItem* FindBuiltIn(ItemType type);
const BuiltInItem* FindBuiltInByBarCommand(int command);
const BuiltInItem* FindBuiltInByAddCommand(int command);

}  // namespace orvale
