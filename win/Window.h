// A plain window that is not a dialog: the object is attached as the window is created and
// sees every message in OnMessage; what it leaves goes to the default window procedure.
#pragma once

#include <windows.h>

#include "win/Attached.h"

namespace win {

class Window : public Attached {
public:
    // Registers `className` with this base's procedure (once per class) and creates the
    // window. A parent of HWND_MESSAGE makes a message-only window.
    bool Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                HWND parent);
    void Destroy();

protected:
    bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) override {
        return false;
    }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace win
