// Context window lists: which windows a context bar appears beside, tested on real windows.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/WindowList.h"

using namespace orvale;

namespace {

// A titled main window with an untitled child (and grandchild), an untitled popup it owns,
// and an untitled top-level window of its own.
class WindowListTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OrvaleWindowListTest";
        RegisterClassA(&windowClass);
    }

    void SetUp() override {
        main_ = Create("My NOTEPAD Window", WS_OVERLAPPEDWINDOW, nullptr);
        child_ = Create("", WS_CHILD, main_);
        grandchild_ = Create("", WS_CHILD, child_);
        popup_ = Create("", WS_POPUP, main_);
        loner_ = Create("", WS_OVERLAPPEDWINDOW, nullptr);
        ASSERT_TRUE(main_ && child_ && grandchild_ && popup_ && loner_);
        ASSERT_EQ(main_, GetParent(popup_)) << "the owner is reported as the parent";
    }

    void TearDown() override {
        DestroyWindow(popup_);
        DestroyWindow(main_);
        DestroyWindow(loner_);
    }

    static HWND Create(const char* title, DWORD style, HWND parent) {
        return CreateWindowExA(0, "OrvaleWindowListTest", title, style, 0, 0, 200, 100, parent,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    static WindowList List(std::vector<std::string> entries, int32_t mode) {
        WindowList list;
        list.entries = std::move(entries);
        list.mode = mode;
        return list;
    }

    HWND main_ = nullptr, child_ = nullptr, grandchild_ = nullptr, popup_ = nullptr,
         loner_ = nullptr;
};

}  // namespace

TEST_F(WindowListTest, WithoutEntriesModeAloneDecides) {
    WindowList only = List({}, 0);
    WindowList allBut = List({}, 1);
    for (HWND window : {main_, child_, popup_, loner_}) {
        EXPECT_FALSE(matches(only, window));
        EXPECT_TRUE(matches(allBut, window));
    }
    EXPECT_EQ(nullptr, only.rememberedWindow);
}

TEST_F(WindowListTest, FragmentMatchesTheWindowOrAnyWindowAboveItIgnoringCase) {
    WindowList only = List({"excel", "note"}, 0);
    EXPECT_TRUE(matches(only, main_));
    EXPECT_EQ(main_, only.rememberedWindow);

    forget(only);
    EXPECT_TRUE(matches(only, grandchild_)) << "untitled windows pass on to their parents";
    EXPECT_EQ(main_, only.rememberedWindow) << "the window whose title matched is remembered";

    forget(only);
    EXPECT_TRUE(matches(only, popup_)) << "an owned popup's owner counts as its parent";
    EXPECT_FALSE(matches(only, loner_));

    WindowList allBut = List({"NotePad"}, 1);
    EXPECT_FALSE(matches(allBut, child_));
    EXPECT_FALSE(matches(allBut, popup_));
    EXPECT_TRUE(matches(allBut, loner_));
    EXPECT_EQ(nullptr, allBut.rememberedWindow) << "only mode 0 remembers";

    WindowList other = List({"notepad window x"}, 0);
    EXPECT_FALSE(matches(other, main_)) << "the whole entry must occur";
}

TEST_F(WindowListTest, OnlyLettersAToZAreComparedWithoutCase) {
    SetWindowTextA(main_, "\xC4rger Notes");  // "Ärger" in the ANSI code page
    WindowList lower = List({"\xE4rger"}, 0);
    EXPECT_FALSE(matches(lower, main_)) << "other characters are compared as they are";
    WindowList upper = List({"\xC4RGER"}, 0);
    EXPECT_TRUE(matches(upper, main_));
    EXPECT_EQ("\xE4rger notes", LowerAscii("\xE4RGER NOTES"));
}

TEST_F(WindowListTest, EmptyEntryOccursInEveryTitle) {
    WindowList only = List({""}, 0);
    EXPECT_TRUE(matches(only, child_));
    forget(only);
    EXPECT_TRUE(matches(only, popup_));
    EXPECT_FALSE(matches(only, loner_)) << "no titled window on the chain";

    WindowList allBut = List({""}, 1);
    EXPECT_FALSE(matches(allBut, child_));
    EXPECT_TRUE(matches(allBut, loner_));
}

TEST_F(WindowListTest, RememberedWindowMatchesAtOnceUntilForgotten) {
    WindowList only = List({"notepad"}, 0);
    ASSERT_TRUE(matches(only, child_));
    ASSERT_EQ(main_, only.rememberedWindow);

    only.entries.clear();
    EXPECT_TRUE(matches(only, main_)) << "the remembered window itself";
    EXPECT_FALSE(matches(only, child_)) << "only the very window is taken at once";

    forget(only);
    EXPECT_EQ(nullptr, only.rememberedWindow);
    EXPECT_FALSE(matches(only, main_));

    // No window is never "the remembered one", even while none is remembered.
    EXPECT_FALSE(matches(only, nullptr));
    WindowList allBut = List({"notepad"}, 1);
    EXPECT_TRUE(matches(allBut, nullptr));
}

TEST_F(WindowListTest, TitlesAndEntriesAreComparedUpTo511Characters) {
    SetWindowTextA(main_, (std::string(520, 'x') + "needle").c_str());
    WindowList late = List({"needle"}, 0);
    EXPECT_FALSE(matches(late, main_)) << "past the 511 characters read of the title";

    WindowList longEntry = List({std::string(600, 'X')}, 0);
    EXPECT_TRUE(matches(longEntry, main_)) << "an over-long entry counts with 511 characters";
}
