// The window base: an object that lets go of itself inside its own handler lives until that
// handler has returned; every message reaches the object, also those before WM_INITDIALOG.
#include <gtest/gtest.h>

#include <windows.h>

#include "win/Dialog.h"
#include "win/Window.h"
#include "resources/resource.h"

namespace {

constexpr UINT kEndYourself = WM_APP + 1;

// A window that destroys and deletes itself when asked, and notes whether it was still whole
// when its handler went on after the delete.
class SelfEnding : public win::Window {
public:
    SelfEnding(bool& deleted, bool& wholeAfterDelete)
        : deleted_(deleted), wholeAfterDelete_(wholeAfterDelete) {}
    ~SelfEnding() override { deleted_ = true; }

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (msg != kEndYourself) return win::Window::OnMessage(msg, wp, lp, result);
        DestroyAndDelete(this);
        wholeAfterDelete_ = !deleted_;
        return true;
    }

private:
    bool& deleted_;
    bool& wholeAfterDelete_;
};

// Remembers the first message that reached the object.
class FirstMessage : public win::ModelessDialog {
public:
    FirstMessage() : ModelessDialog(IDD_BAR) {}
    UINT first = 0;

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (!first) first = msg;
        return ModelessDialog::OnMessage(msg, wp, lp, result);
    }
};

}  // namespace

TEST(WindowBase, AnObjectDeletedInsideItsOwnHandlerGoesOnlyAfterTheHandler) {
    for (int i = 0; i < 100; ++i) {
        bool deleted = false, wholeAfterDelete = false;
        auto* window = new SelfEnding(deleted, wholeAfterDelete);
        ASSERT_TRUE(window->Create(L"OrvaleSelfEnding", L"", 0, 0, HWND_MESSAGE));
        HWND hwnd = window->Handle();
        SendMessageW(hwnd, kEndYourself, 0, 0);
        EXPECT_TRUE(wholeAfterDelete) << "deleted under its own running handler";
        EXPECT_TRUE(deleted) << "not deleted once the handler returned";
        EXPECT_FALSE(IsWindow(hwnd));
    }
}

TEST(WindowBase, ADialogSeesTheMessagesThatComeBeforeItsInitialisation) {
    FirstMessage dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    ASSERT_NE(0u, dialog.first) << "no message reached the object";
    EXPECT_NE(static_cast<UINT>(WM_INITDIALOG), dialog.first) << "WM_SETFONT comes first";
    dialog.Destroy();
}
