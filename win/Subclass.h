// Attaches a C++ object to an existing window (a control) and routes its messages to a
// virtual handler; whatever the handler leaves goes on to the window's own procedure.
#pragma once

#include <windows.h>

namespace win {

class Subclass {
public:
    Subclass() = default;
    virtual ~Subclass() { Detach(); }
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;

    bool Attach(HWND hwnd);
    void Detach();
    HWND Handle() const { return hwnd_; }

protected:
    // Returns true when handled, with the result in `result`.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;
    // Passes a message on to the window's own procedure.
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR data);
    HWND hwnd_ = nullptr;
};

}  // namespace win
