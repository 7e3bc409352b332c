#include "actions/MacroToolRegistration.h"

#include <windows.h>

#include "actions/MacroTool.h"

namespace orvale {
namespace {

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A command names its program with a folder, or as a bare name the search path finds, as
// CreateProcess would.
bool ProgramExists(const std::wstring& command) {
    const std::wstring program = MacroToolProgram(command);
    if (program.empty()) return false;
    if (program.find(L'\\') != std::wstring::npos) return IsFile(program);
    wchar_t found[MAX_PATH] = {};
    const DWORD length = SearchPathW(nullptr, program.c_str(), L".exe", MAX_PATH, found, nullptr);
    return length > 0 && length < MAX_PATH;
}

}  // namespace

bool RegisterOwnMacroTool(const std::wstring& folder) {
    const int tool = ExchangeFile::kMacroTool;
    if (ProgramExists(ExchangeFile::ReadPath(tool))) return false;
    std::wstring program = folder;
    if (!program.empty() && program.back() != L'\\') program += L'\\';
    program += kOwnMacroToolName;
    if (!IsFile(program)) return false;
    return ExchangeFile::WritePath(tool, L"\"" + program + L"\"");
}

}  // namespace orvale
