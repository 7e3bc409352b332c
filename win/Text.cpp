#include "win/Text.h"

#include <algorithm>

namespace win {

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    int got = GetWindowTextW(window, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

std::wstring LowerCase(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool ContainsIgnoringCase(const std::wstring& text, const std::wstring& fragment) {
    return LowerCase(text).find(LowerCase(fragment)) != std::wstring::npos;
}

std::wstring Widen(const std::string& bytes, UINT codePage) {
    // Plain ASCII reads the same in every code page the program meets, and most text is.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; })) {
        return std::wstring(bytes.begin(), bytes.end());
    }
    const int size = static_cast<int>(bytes.size());
    int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(std::max(length, 0)), L'\0');
    if (length > 0) MultiByteToWideChar(codePage, 0, bytes.data(), size, &text[0], length);
    return text;
}

std::string Narrow(const std::wstring& text, UINT codePage) {
    if (std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; })) {
        return std::string(text.begin(), text.end());
    }
    const int size = static_cast<int>(text.size());
    int length = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(std::max(length, 0)), '\0');
    if (length > 0) {
        WideCharToMultiByte(codePage, 0, text.data(), size, &bytes[0], length, nullptr, nullptr);
    }
    return bytes;
}

}  // namespace win
