#include "win/Text.h"

#include <algorithm>

namespace win {

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string title(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    int got = GetWindowTextA(window, &title[0], static_cast<int>(title.size()));
    title.resize(static_cast<size_t>(std::max(got, 0)));
    return title;
}

std::string LowerCase(std::string text) {
    if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool ContainsIgnoringCase(const std::string& text, const std::string& fragment) {
    return LowerCase(text).find(LowerCase(fragment)) != std::string::npos;
}

}  // namespace win
