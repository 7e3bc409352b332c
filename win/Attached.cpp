#include "win/Attached.h"

namespace win {
namespace {

// The object waiting for the window being created on this thread (see ExpectWindowFor).
thread_local Attached* t_expected = nullptr;

}  // namespace

Attached::~Attached() {
    // Owners destroy their windows first (DestroyAndDelete); one that is still there here is
    // let go before it goes, so none of its messages reaches a half-destroyed object.
    HWND hwnd = hwnd_;
    Detach();
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
}

void Attached::DestroyAndDelete(Attached* object) {
    if (!object) return;
    if (object->hwnd_ && IsWindow(object->hwnd_)) DestroyWindow(object->hwnd_);
    if (object->depth_ > 0) {
        object->deleteWhenIdle_ = true;
    } else {
        delete object;
    }
}

void Attached::ExpectWindowFor(Attached* object) { t_expected = object; }

Attached* Attached::Attach(HWND hwnd, Attached* given) {
    Attached* self = given ? given : t_expected;
    t_expected = nullptr;
    if (!self) return nullptr;
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
}

Attached* Attached::FromWindow(HWND hwnd) {
    return reinterpret_cast<Attached*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool Attached::Deliver(Attached* self, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    ++self->depth_;
    bool handled = false;
    // No exception may cross into the window manager.
    try {
        handled = self->OnMessage(msg, wp, lp, result);
    } catch (...) {
        handled = false;
    }
    if (msg == WM_NCDESTROY) self->Detach();
    if (--self->depth_ == 0 && self->deleteWhenIdle_) delete self;
    return handled;
}

void Attached::Detach() {
    if (!hwnd_) return;
    if (IsWindow(hwnd_) && FromWindow(hwnd_) == this) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
}

}  // namespace win
