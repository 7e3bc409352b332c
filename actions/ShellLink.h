// Shell shortcuts (".lnk" files), written through the shell's own link object, and the
// fallback that opens a target through a temporary shortcut when the shell refuses it directly.
#pragma once

#include <windows.h>

#include <string>

namespace orvale {

// Writes a shortcut to `target` with `arguments` and `description` at `linkPath`. Returns the
// status of the first step that failed, else that of saving the file.
HRESULT WriteShellLink(const std::wstring& target, const std::wstring& arguments,
                       const std::wstring& linkPath, const std::wstring& description);

// Opens `target` with `arguments` through the shortcut "sct.lnk" in the temporary folder,
// which exists only for the duration of the call. Failures are ignored.
void OpenViaTemporaryShortcut(const std::wstring& target, const std::wstring& arguments);

}  // namespace orvale
