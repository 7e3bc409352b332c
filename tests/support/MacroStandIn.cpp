#include "MacroStandIn.h"

#include <windows.h>

namespace testing_support {
namespace {

const char* const kExchangeFile = "wy32i.ini";
const char* const kSection = "br32";
const char* const kMissing = "\n";  // no profile value can hold a newline
const char* const kKeys[] = {"path", "result", "strres"};

std::string ExchangeFilePath() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + kExchangeFile;
}

std::string ReadRaw(const std::string& key) {
    char value[1024] = {};
    GetPrivateProfileStringA(kSection, key.c_str(), kMissing, value, sizeof value,
                             kExchangeFile);
    return value;
}

}  // namespace

std::string ExchangeValue(const std::string& key) {
    std::string value = ReadRaw(key);
    return value == kMissing ? std::string() : value;
}

bool HasExchangeValue(const std::string& key) { return ReadRaw(key) != kMissing; }

void SetExchangeValue(const std::string& key, const char* value) {
    WritePrivateProfileStringA(kSection, key.c_str(), value, kExchangeFile);
}

ExchangeFileBackup::ExchangeFileBackup() : fileExisted_(FileExists(ExchangeFilePath())) {
    for (const char* key : kKeys) saved_[key] = {HasExchangeValue(key), ExchangeValue(key)};
}

ExchangeFileBackup::~ExchangeFileBackup() {
    if (!fileExisted_) {
        DeleteFileA(ExchangeFilePath().c_str());
        return;
    }
    for (const auto& entry : saved_) {
        const auto& [present, value] = entry.second;
        SetExchangeValue(entry.first, present ? value.c_str() : nullptr);
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
