// What dialogs and plain windows share: a C++ object attached to one window, one entry for
// every message, and a way to delete the object that is safe even from inside its own handler
// (a bar rebuilt by its own editor, the settings window ended by its own Exit button).
#pragma once

#include <windows.h>

#include <memory>

namespace win {

class Attached {
public:
    Attached() = default;
    virtual ~Attached();
    Attached(const Attached&) = delete;
    Attached& operator=(const Attached&) = delete;

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // Destroys the window (its OnDestroy runs on the whole object) and deletes the object. When
    // the object is inside one of its own message handlers, the delete waits until the
    // outermost of them has returned.
    static void DestroyAndDelete(Attached* object);

protected:
    // Every message of the window comes here first, WM_NOTIFY and WM_MEASUREITEM included.
    // Returns true when handled, with the result in `result`.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;

    // The object the next window created on this thread belongs to: a dialog's first messages
    // (WM_SETFONT, WM_MEASUREITEM) arrive before WM_INITDIALOG hands over its parameter.
    static void ExpectWindowFor(Attached* object);
    // Attaches the window to the object expected for it (or to none); called by the procedures.
    static Attached* Attach(HWND hwnd, Attached* given);
    static Attached* FromWindow(HWND hwnd);

    // Runs OnMessage for the window procedures: keeps the object alive while it runs and lets
    // no exception through to the window manager. False when the message was not handled.
    static bool Deliver(Attached* self, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void Detach();

private:
    HWND hwnd_ = nullptr;
    int depth_ = 0;                 // handlers of this object now running
    bool deleteWhenIdle_ = false;   // DestroyAndDelete came while a handler ran
};

// Deletes through DestroyAndDelete, so an owner that lets go of a window object never frees it
// under its own running handler.
struct DestroyAndDeleteAttached {
    void operator()(Attached* object) const { Attached::DestroyAndDelete(object); }
};
template <typename T>
using Owned = std::unique_ptr<T, DestroyAndDeleteAttached>;

template <typename T, typename... Args>
Owned<T> MakeOwned(Args&&... args) {
    return Owned<T>(new T(std::forward<Args>(args)...));
}

}  // namespace win
