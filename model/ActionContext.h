// What an action is told about the menu it was clicked beside, and the few things it may ask of
// the bar engine, handed down by its caller: the engine and the actions never include each
// other, so what they share is this plain record.
#pragma once

#include <windows.h>

#include <functional>

namespace orvale {

struct ActionContext {
    HWND MenuOwnerWindow = nullptr;    // the foreground window when the bars were shown
    HWND LastForeignWindow = nullptr;  // the last foreground window of another program
    HWND mainWindow = nullptr;   // the host frame: owner of the Select File dialog

    // Marks the menu dismissed and moves every bar off-screen.
    std::function<void()> hideBars;
    // Switch Windows: the walk starts from the menu's owner window.
    std::function<void()> switchStarted;
    // Switch Windows: its second step runs once the clicked bar's current message is done.
    std::function<void()> continueSwitchLater;
    // Keeps the mouse hook removed (true) while a dialog of the program is open.
    std::function<void(bool)> suspendMouseHook;
};

}  // namespace orvale
