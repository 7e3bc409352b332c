// Shell shortcuts (".lnk" files), written through the shell's own link object, opening things
// through the shell, and the fallback that opens a target through a temporary shortcut when the
// shell refuses it directly.
#pragma once

#include <windows.h>

#include <string>

namespace orvale {

// Writes a shortcut to `target` with `arguments` and `description` at `linkPath`. Returns the
// status of the first step that failed, else that of saving the file.
HRESULT WriteShellLink(const std::wstring& target, const std::wstring& arguments,
                       const std::wstring& linkPath, const std::wstring& description);

enum class ShellOpening { Opened, Cancelled, Refused };

// Opens `file` with the shell's default verb and `parameters`, started in `directory` (empty:
// none of its own; the program's own current folder never changes). Cancelled when the user
// said no, for example to an elevation prompt; Refused when the shell could not open it.
// `mask` adds SEE_MASK_ flags.
ShellOpening OpenWithShell(const std::wstring& file, const std::wstring& parameters,
                           const std::wstring& directory, ULONG mask = 0);

// Opens `target` with `arguments`, started in `directory`, through a shortcut written for this
// call alone to a new file of the temporary folder under a name nobody can guess, and removed
// again. Nothing is opened when the shortcut could not be written whole. Failures are ignored.
void OpenViaTemporaryShortcut(const std::wstring& target, const std::wstring& arguments,
                              const std::wstring& directory = L"");

}  // namespace orvale
