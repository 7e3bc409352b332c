// The macro tool's stand-in (tests/standins/brindle_standin.cpp) installed for one test, and
// the exchange file "wy32i.ini" of the Windows directory, which tests share with everything
// else on the machine and so put back as they found it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Harness.h"

namespace testing_support {

// "path", "result" and "strres" of section "br32" of the exchange file: read (an empty
// string when missing) and written the way the program and the tool do; null removes a key.
std::string ExchangeValue(const std::string& key);
void SetExchangeValue(const std::string& key, const char* value);
bool HasExchangeValue(const std::string& key);

// Remembers the exchange file's "br32" keys at construction and restores them (or removes
// the file, when there was none) at destruction.
class ExchangeFileBackup {
public:
    ExchangeFileBackup();
    ~ExchangeFileBackup();
    ExchangeFileBackup(const ExchangeFileBackup&) = delete;
    ExchangeFileBackup& operator=(const ExchangeFileBackup&) = delete;

private:
    bool fileExisted_;
    std::map<std::string, std::pair<bool, std::string>> saved_;  // key: (present, value)
};

// A private copy of the stand-in in a temporary folder, recorded as the macro tool's "path".
// Its script ("brindle_standin.ini") and its log of command lines live beside the copy.
class MacroStandIn {
public:
    MacroStandIn();
    MacroStandIn(const MacroStandIn&) = delete;
    MacroStandIn& operator=(const MacroStandIn&) = delete;

    // The copy's full path, as written to "path".
    const std::string& Program() const { return program_; }
    // One line of the script: `verb` is the section ("add", "del", "edit", "rec", "new",
    // "sel", "cpy", "run" or "default"); keys "result", "strres", "wait", "holduntil",
    // "holdmax" (see the stand-in's source).
    void Script(const std::string& verb, const std::string& key, const std::string& value);
    // The command lines it was started with, oldest first.
    std::vector<std::string> CommandLines() const;
    const TempDir& Folder() const { return folder_; }

private:
    ExchangeFileBackup backup_;
    TempDir folder_;
    std::string program_;
};

}  // namespace testing_support
