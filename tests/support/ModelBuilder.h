// Builds bars of the live model for tests that run bar windows in the test process, and gives
// such tests settings of their own.
#pragma once

#include <string>
#include <vector>

#include "Harness.h"
#include "model/BarModel.h"

namespace testing_support {

// Makes bar `number` (1-32) afresh: enabled or not, horizontal or vertical, with one item per
// type code; attributed items (101) take their attributes from `attributed` in order.
orvale::BarDef& MakeBar(int number, bool horizontal, bool enabled, const std::vector<int>& types,
                        const std::vector<orvale::ItemAttributes>& attributed = {});
// Makes the task bar afresh.
orvale::BarDef& MakeTaskBar(bool enabled);

// Points the program's settings at a folder that starts empty, for as long as it lives.
class TestSettings {
public:
    TestSettings();
    ~TestSettings();
    const std::string& Folder() const { return folder_.Path(); }
    std::string File(const std::string& name = "ov32data.ini") const { return folder_.File(name); }
    // Writes the settings file, which the program then reads afresh.
    void Write(const std::string& ini);

private:
    TempDir folder_;
};

}  // namespace testing_support
