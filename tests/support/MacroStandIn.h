// The macro tool's stand-in (tests/standins/brindle_standin.cpp) installed for one test. The
// exchange file "wy32i.ini" lives in the Windows directory, shared with everything else on the
// machine, so its "br32" keys are put back as they were found.
#pragma once

#include <string>
#include <vector>

#include "Harness.h"

namespace testing_support {

// A key of section "br32" of the exchange file ("" when missing); a null value removes it.
std::string ExchangeValue(const std::string& key);
void SetExchangeValue(const std::string& key, const char* value);

// A private copy of the stand-in in a temporary folder, recorded as the macro tool's "path".
class MacroStandIn {
public:
    MacroStandIn();
    ~MacroStandIn();

    const std::string& Program() const { return program_; }
    // One line of the copy's script: the section is the verb ("add", "sel", "run", ...), keys
    // as the stand-in's source describes them.
    void Script(const std::string& verb, const std::string& key, const std::string& value);
    // The command lines it was started with, oldest first.
    std::vector<std::string> CommandLines() const;

private:
    TempDir folder_;
    std::string program_;
    bool hadExchangeFile_;
    std::vector<std::string> saved_;
};

}  // namespace testing_support
