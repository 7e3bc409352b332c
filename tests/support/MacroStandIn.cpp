#include "MacroStandIn.h"

#include "actions/MacroTool.h"

namespace testing_support {
namespace {

const char* const kKeys[] = {"path", "result", "strres"};

std::string ExchangeFilePath() { return win::Narrow(orvale::ExchangeFile::FilePath()); }

}  // namespace

std::string ExchangeValue(const std::string& key) {
    char value[1024] = {};
    GetPrivateProfileStringA("br32", key.c_str(), "", value, sizeof value,
                             ExchangeFilePath().c_str());
    return value;
}

void SetExchangeValue(const std::string& key, const char* value) {
    WritePrivateProfileStringA("br32", key.c_str(), value, ExchangeFilePath().c_str());
}

KeptExchange::KeptExchange() : hadExchangeFile_(FileExists(ExchangeFilePath())) {
    for (const char* key : kKeys) saved_.push_back(ExchangeValue(key));
}

// An empty key reads the same as a missing one, so empty values are put back as missing.
KeptExchange::~KeptExchange() {
    if (!hadExchangeFile_) {
        DeleteFileA(ExchangeFilePath().c_str());
        return;
    }
    for (size_t i = 0; i < saved_.size(); ++i) {
        SetExchangeValue(kKeys[i], saved_[i].empty() ? nullptr : saved_[i].c_str());
    }
}

MacroStandIn::MacroStandIn() : program_(folder_.File("brindle_standin.exe")) {
    CopyBeside("brindle_standin.exe", folder_.Path());
    SetExchangeValue("path", program_.c_str());
}

void MacroStandIn::Script(const std::string& verb, const std::string& key,
                          const std::string& value) {
    WritePrivateProfileStringA(verb.c_str(), key.c_str(), value.c_str(),
                               folder_.File("brindle_standin.ini").c_str());
}

std::vector<std::string> MacroStandIn::CommandLines() const {
    return ReadLines(folder_.File("brindle_standin.log"));
}

}  // namespace testing_support
