// The macro tool's exchange file, shared with everything else on the machine, and the tool's
// stand-in (tests/standins/brindle_standin.cpp) installed for one test. Both use the file in
// the place the program decides (actions/ExchangePlace.h); its "br32" keys are put back as
// they were found.
#pragma once

#include <string>
#include <vector>

#include "Harness.h"

namespace testing_support {

// A key of section "br32" of the exchange file ("" when missing); a null value removes it.
std::string ExchangeValue(const std::string& key);
void SetExchangeValue(const std::string& key, const char* value);

// The "br32" keys as they were at construction, put back at destruction.
class KeptExchange {
public:
    KeptExchange();
    ~KeptExchange();
    KeptExchange(const KeptExchange&) = delete;
    KeptExchange& operator=(const KeptExchange&) = delete;

private:
    bool hadExchangeFile_;
    std::vector<std::string> saved_;
};

// A private copy of the stand-in in a temporary folder, recorded as the macro tool's "path".
class MacroStandIn {
public:
    MacroStandIn();

    const std::string& Program() const { return program_; }
    // One line of the copy's script: the section is the verb ("add", "sel", "run", ...), keys
    // as the stand-in's source describes them.
    void Script(const std::string& verb, const std::string& key, const std::string& value);
    // The command lines it was started with, oldest first.
    std::vector<std::string> CommandLines() const;

private:
    KeptExchange kept_;
    TempDir folder_;
    std::string program_;
};

}  // namespace testing_support
