#include "model/WindowList.h"

namespace orvale {

std::array<WindowList, kWindowListCount> windowLists;

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

namespace {

std::string TitleOf(HWND window) {
    char title[512] = {};
    int length = GetWindowTextA(window, title, sizeof title);
    return std::string(title, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace

bool matches(WindowList& list, HWND window) {
    if (window && window == list.rememberedWindow) return true;
    for (HWND w = window; w && IsWindow(w); w = GetParent(w)) {
        std::string title = TitleOf(w);
        if (title.empty()) continue;
        title = LowerAscii(title);
        for (const std::string& entry : list.entries) {
            // Titles are compared up to 511 characters; so are entries, which keeps an
            // over-long entry typed into the dialog matching what it starts with.
            std::string fragment = LowerAscii(entry.substr(0, 511));
            if (title.find(fragment) == std::string::npos) continue;
            if (list.mode != 0) return false;
            list.rememberedWindow = w;
            return true;
        }
    }
    return list.mode != 0;
}

void forget(WindowList& list) { list.rememberedWindow = nullptr; }

}  // namespace orvale
