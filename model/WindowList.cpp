#include "model/WindowList.h"

#include "win/Text.h"

namespace orvale {

std::array<WindowList, kWindowListCount> windowLists;

namespace {

// Titles are compared up to 511 characters; so are entries, which keeps an over-long entry
// typed into the dialog matching what it starts with.
constexpr size_t kComparedLength = 511;

}  // namespace

bool matches(const WindowList& list, HWND window) {
    for (HWND w = window; w && IsWindow(w); w = GetParent(w)) {
        std::wstring title = win::WindowText(w).substr(0, kComparedLength);
        if (title.empty()) continue;
        for (const std::wstring& entry : list.entries) {
            if (!win::ContainsIgnoringCase(title, entry.substr(0, kComparedLength))) continue;
            return list.mode == 0;
        }
    }
    return list.mode != 0;
}

}  // namespace orvale
