// Stands in for whatever program the shell starts for a file, a web address or an e-mail
// address in tests: it appends one line to "shell_recorder.log" beside itself,
//   <command line> | cwd=<current directory>
// and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string log(module);
    log = log.substr(0, log.find_last_of('\\') + 1) + "shell_recorder.log";
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    if (FILE* file = std::fopen(log.c_str(), "ab")) {
        std::fprintf(file, "%s | cwd=%s\n", GetCommandLineA(), cwd);
        std::fclose(file);
    }
    return 0;
}
