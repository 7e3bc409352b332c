// The title-fragment lists that decide beside which windows a context bar appears.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvale {

struct WindowList {
    std::vector<std::wstring> entries;  // title fragments
    int32_t mode = 0;                  // 0 only the listed windows, 1 all but the listed ones
};

constexpr int kWindowListCount = 32;  // list n serves context bar n + 4; 29-31 serve none

extern std::array<WindowList, kWindowListCount> windowLists;

// Whether the list's bar may be shown for a menu opened over `window`: the window and each
// parent (or owner) in turn is tested; the first titled window whose title contains an entry,
// without regard to case, decides.
bool matches(const WindowList& list, HWND window);

}  // namespace orvale
