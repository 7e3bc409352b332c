#include "dialogs/MacroToolCalls.h"

namespace orvale {

bool RunMacroToolFrom(HWND dialog, const std::wstring& name, MacroVerb verb,
                      const std::wstring& file) {
    const bool wasEnabled = dialog && IsWindowEnabled(dialog);
    if (wasEnabled) EnableWindow(dialog, FALSE);
    const bool answered = RunMacroTool(name, verb, file);
    if (wasEnabled) EnableWindow(dialog, TRUE);
    return answered;
}

bool AcceptMacroName(HWND owner, const std::wstring& name) {
    if (SendableMacroName(name)) return true;
    const std::wstring text = L"The macro name \"" + name +
                              L"\" cannot be used: a macro's name must not hold spaces, quotes "
                              L"or control characters.";
    MessageBoxW(owner, text.c_str(), L"Orvale", MB_OK | MB_ICONINFORMATION);
    return false;
}

std::wstring AnsweredMacroName(HWND owner, bool succeeded) {
    if (!succeeded) return std::wstring();
    const std::wstring name = ExchangeFile::ReadStrres(ExchangeFile::kMacroTool);
    if (name.empty() || !AcceptMacroName(owner, name)) return std::wstring();
    return name;
}

}  // namespace orvale
