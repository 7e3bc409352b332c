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
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OrvaleWindowListTest";
        RegisterClassA(&windowClass);  // fails harmlessly when already registered
        w_[Main] = Create("My NOTEPAD Window", WS_OVERLAPPEDWINDOW, nullptr);
        w_[Child] = Create("", WS_CHILD, w_[Main]);
        w_[Grandchild] = Create("", WS_CHILD, w_[Child]);
        w_[Popup] = Create("", WS_POPUP, w_[Main]);
        w_[Loner] = Create("", WS_OVERLAPPEDWINDOW, nullptr);
        for (int w = Main; w < None; ++w) ASSERT_NE(nullptr, w_[w]);
        ASSERT_EQ(w_[Main], GetParent(w_[Popup])) << "the owner is reported as the parent";
    }
    void TearDown() override {
        for (Window w : {Popup, Main, Loner}) DestroyWindow(w_[w]);
    }
    static HWND Create(const char* title, DWORD style, HWND parent) {
        return CreateWindowExA(0, "OrvaleWindowListTest", title, style, 0, 0, 200, 100, parent,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    HWND w_[None + 1] = {};
};

}  // namespace

TEST_F(WindowListTest, ModeEntriesAndTheWindowsAboveDecideAndMode0RemembersTheMatch) {
    const struct {
        std::vector<std::string> entries;
        int32_t mode;
        Window window;
        bool shown;
        Window remembered;
    } cases[] = {
        {{}, 0, Main, false, None},  // without entries the mode alone decides
        {{}, 1, Loner, true, None},
        {{"excel", "note"}, 0, Main, true, Main},  // a fragment, without regard to case
        {{"excel", "note"}, 0, Grandchild, true, Main},  // untitled windows pass on upwards
        {{"excel", "note"}, 0, Popup, true, Main},  // an owned popup's owner is its parent
        {{"excel", "note"}, 0, Loner, false, None},
        {{"notepad window x"}, 0, Main, false, None},  // the whole entry must occur
        {{"NotePad"}, 1, Child, false, None},  // only mode 0 remembers
        {{"NotePad"}, 1, Loner, true, None},
        {{""}, 0, Child, true, Main},  // the empty entry occurs in every title
        {{""}, 0, Loner, false, None},  // no titled window on the chain
        {{""}, 1, Child, false, None},
        {{""}, 1, Loner, true, None},
        {{"notepad"}, 0, None, false, None},
        {{"notepad"}, 1, None, true, None},
    };
    for (const auto& c : cases) {
        WindowList list = {c.entries, c.mode};
        EXPECT_EQ(c.shown, matches(list, w_[c.window])) << c.mode << " " << c.window;
        EXPECT_EQ(w_[c.remembered], list.rememberedWindow) << c.mode << " " << c.window;
    }
}

TEST_F(WindowListTest, RememberedWindowMatchesAtOnceUntilForgotten) {
    WindowList list = {{"notepad"}, 0};
    ASSERT_TRUE(matches(list, w_[Child]));
    list.entries.clear();
    EXPECT_TRUE(matches(list, w_[Main])) << "the remembered window itself";
    EXPECT_FALSE(matches(list, w_[Child])) << "only the very window is taken at once";
    forget(list);
    EXPECT_EQ(nullptr, list.rememberedWindow);
    EXPECT_FALSE(matches(list, w_[Main]));
}

TEST_F(WindowListTest, EveryLetterIgnoresCaseAsForTitleItemsAndTitlesCountTo511Characters) {
    SetWindowTextA(w_[Main], "\xC4rger Notes");  // "Ärger" in the ANSI code page
    for (const char* entry : {"\xE4rger", "\xC4RGER", "\xE4RGER NOTES"}) {
        WindowList list = {{entry}, 0};
        EXPECT_TRUE(matches(list, w_[Main])) << entry;
        EXPECT_TRUE(TitleMatches(w_[Main], entry, false)) << "a title item agrees: " << entry;
    }
    WindowList other = {{"\xE5rger"}, 0};  // "årger": another letter, not another case
    EXPECT_FALSE(matches(other, w_[Main]));

    SetWindowTextA(w_[Main], (std::string(520, 'x') + "needle").c_str());
    WindowList late = {{"needle"}, 0}, longEntry = {{std::string(600, 'X')}, 0};
    EXPECT_FALSE(matches(late, w_[Main])) << "past the 511 characters read of the title";
    EXPECT_TRUE(matches(longEntry, w_[Main])) << "an over-long entry counts with 511 characters";
}
