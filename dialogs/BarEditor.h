// The bar editor ("Bar Properties" and "TaskBar" dialogs).
#pragma once

#include "model/BarModel.h"

namespace orvale {

// Edits `bar` in place; true when the user confirmed.
bool EditBar(BarDef& bar);

}  // namespace orvale
