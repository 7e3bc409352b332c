// The shell's "open" command of a registry class (a file type, a protocol) pointed at a
// program of the test's for one test, so that the test sees what the shell was given.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

// Puts back what was there at the end.
class ShellHandler {
public:
    ShellHandler(const std::string& className, const std::string& command, bool urlProtocol);
    ~ShellHandler();
    ShellHandler(const ShellHandler&) = delete;
    ShellHandler& operator=(const ShellHandler&) = delete;

private:
    std::string key_, className_, oldCommand_;
    bool existed_ = false, hadCommand_ = false;
};

// The class that opens files with `extension` (".htm"), or "" when none does.
std::string ClassOfFileType(const std::string& extension);

}  // namespace testing_support
