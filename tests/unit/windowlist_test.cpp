// Context window lists: which windows a context bar appears beside, tested on real windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/ItemLauncher.h"
#include "model/WindowList.h"

using namespace orvale;

namespace {

// A titled main window with an untitled child (and grandchild), an untitled popup it owns,
// and an untitled top-level window of its own.
class WindowListTest : public ::testing::Test {
protected:
    enum Window { Main, Child, Grandchild, Popup, Loner, None };

    void SetUp() override {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"OrvaleWindowListTest";
        RegisterClassW(&windowClass);  // fails harmlessly when already registered
        w_[Main] = Create(L"My NOTEPAD Window", WS_OVERLAPPEDWINDOW, nullptr);
        w_[Child] = Create(L"", WS_CHILD, w_[Main]);
        w_[Grandchild] = Create(L"", WS_CHILD, w_[Child]);
        w_[Popup] = Create(L"", WS_POPUP, w_[Main]);
        w_[Loner] = Create(L"", WS_OVERLAPPEDWINDOW, nullptr);
        for (int w = Main; w < None; ++w) ASSERT_NE(nullptr, w_[w]);
        ASSERT_EQ(w_[Main], GetParent(w_[Popup])) << "the owner is reported as the parent";
    }
    void TearDown() override {
        for (Window w : {Popup, Main, Loner}) DestroyWindow(w_[w]);
    }
    static HWND Create(const wchar_t* title, DWORD style, HWND parent) {
        return CreateWindowExW(0, L"OrvaleWindowListTest", title, style, 0, 0, 200, 100, parent,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }

    HWND w_[None + 1] = {};
};

}  // namespace

TEST_F(WindowListTest, ModeEntriesAndTheWindowsAboveDecide) {
    const struct {
        std::vector<std::wstring> entries;
        int32_t mode;
        Window window;
        bool shown;
    } cases[] = {
        {{}, 0, Main, false},  // without entries the mode alone decides
        {{}, 1, Loner, true},
        {{L"excel", L"note"}, 0, Main, true},  // a fragment, without regard to case
        {{L"excel", L"note"}, 0, Grandchild, true},  // untitled windows pass on upwards
        {{L"excel", L"note"}, 0, Popup, true},  // an owned popup's owner is its parent
        {{L"excel", L"note"}, 0, Loner, false},
        {{L"notepad window x"}, 0, Main, false},  // the whole entry must occur
        {{L"NotePad"}, 1, Child, false},
        {{L"NotePad"}, 1, Loner, true},
        {{L""}, 0, Child, true},  // the empty entry occurs in every title
        {{L""}, 0, Loner, false},  // no titled window on the chain
        {{L""}, 1, Child, false},
        {{L""}, 1, Loner, true},
        {{L"notepad"}, 0, None, false},
        {{L"notepad"}, 1, None, true},
    };
    for (const auto& c : cases) {
        const WindowList list = {c.entries, c.mode};
        EXPECT_EQ(c.shown, matches(list, w_[c.window])) << c.mode << " " << c.window;
    }
}

TEST_F(WindowListTest, EveryLetterIgnoresCaseAsForTitleItemsAndTitlesCountTo511Characters) {
    // Cyrillic and accented Latin letters, beyond any one code page.
    SetWindowTextW(w_[Main], L"\u0411\u041B\u041E\u041A\u041D\u041E\u0422 \u00C4rger");
    for (const wchar_t* entry : {L"\u0411\u043B\u043E\u043A\u043D\u043E\u0442",
                                 L"\u0431\u043B\u043E\u043A\u043D\u043E\u0442 \u00E4RGER",
                                 L"\u00C4RGER"}) {
        WindowList list = {{entry}, 0};
        EXPECT_TRUE(matches(list, w_[Main])) << testing::PrintToString(std::wstring(entry));
        EXPECT_TRUE(TitleMatches(w_[Main], entry, false)) << "a title item agrees";
    }
    WindowList other = {{L"\u00E5rger"}, 0};  // "årger": another letter, not another case
    EXPECT_FALSE(matches(other, w_[Main]));

    SetWindowTextW(w_[Main], (std::wstring(520, L'x') + L"needle").c_str());
    WindowList late = {{L"needle"}, 0}, longEntry = {{std::wstring(600, L'X')}, 0};
    EXPECT_FALSE(matches(late, w_[Main])) << "past the 511 characters read of the title";
    EXPECT_TRUE(matches(longEntry, w_[Main])) << "an over-long entry counts with 511 characters";
}
