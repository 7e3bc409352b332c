#include "ovmacro/Tell.h"

namespace ovmacro {

void Tell(HWND owner, const std::wstring& text) {
    MessageBoxW(owner, text.c_str(), kToolTitle,
                MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | (owner ? 0 : MB_TOPMOST));
}

}  // namespace ovmacro
