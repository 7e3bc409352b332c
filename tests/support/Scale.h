// The desktop's scale for the programs a test or the benchmark starts: LogPixels in the user's
// desktop settings, which a program reads once, as it starts. It goes back to what it was when
// the object goes, so the programs started meanwhile keep their scale and nothing else changes.
#pragma once

#include <windows.h>

namespace testing_support {

class ScaleOfNewPrograms {
public:
    explicit ScaleOfNewPrograms(DWORD dpi);
    ~ScaleOfNewPrograms();
    ScaleOfNewPrograms(const ScaleOfNewPrograms&) = delete;
    ScaleOfNewPrograms& operator=(const ScaleOfNewPrograms&) = delete;

private:
    bool had_ = false;  // the value was there before
    DWORD before_ = 0;
};

}  // namespace testing_support
