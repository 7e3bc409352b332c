// Builds bars of the live model for tests that run bar windows in the test process.
#pragma once

#include <string>
#include <vector>

#include "model/BarModel.h"

namespace testing_support {

// Makes bar `number` (1-32) afresh: enabled or not, horizontal or vertical, with one item per
// type code; attributed items (101) take their attributes from `attributed` in order.
orvale::BarDef& MakeBar(int number, bool horizontal, bool enabled, const std::vector<int>& types,
                        const std::vector<orvale::ItemAttributes>& attributed = {});
// Makes the task bar afresh.
orvale::BarDef& MakeTaskBar(bool enabled);

}  // namespace testing_support
