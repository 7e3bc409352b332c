#include "ShellHandler.h"

namespace testing_support {

ShellHandler::ShellHandler(const std::string& className, const std::string& command,
                           bool urlProtocol)
    : key_(className + "\\shell\\open\\command"), className_(className) {
    HKEY existing = nullptr;
    existed_ = RegOpenKeyExA(HKEY_CLASSES_ROOT, className.c_str(), 0, KEY_READ, &existing) ==
               ERROR_SUCCESS;
    if (existing) RegCloseKey(existing);
    char old[1024] = {};
    LONG size = sizeof old;
    hadCommand_ = RegQueryValueA(HKEY_CLASSES_ROOT, key_.c_str(), old, &size) == ERROR_SUCCESS;
    oldCommand_ = old;
    RegSetValueA(HKEY_CLASSES_ROOT, key_.c_str(), REG_SZ, command.c_str(),
                 static_cast<DWORD>(command.size()));
    if (urlProtocol) {
        HKEY root = nullptr;
        RegCreateKeyA(HKEY_CLASSES_ROOT, className.c_str(), &root);
        RegSetValueExA(root, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
        RegCloseKey(root);
    }
}

ShellHandler::~ShellHandler() {
    if (!existed_) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, className_.c_str());
    } else if (hadCommand_) {
        RegSetValueA(HKEY_CLASSES_ROOT, key_.c_str(), REG_SZ, oldCommand_.c_str(),
                     static_cast<DWORD>(oldCommand_.size()));
    }
}

std::string ClassOfFileType(const std::string& extension) {
    char name[256] = {};
    LONG size = sizeof name;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, extension.c_str(), name, &size) != ERROR_SUCCESS) {
        return std::string();
    }
    return name;
}

}  // namespace testing_support
