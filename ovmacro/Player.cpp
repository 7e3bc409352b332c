#include "ovmacro/Player.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "actions/KeySequence.h"
#include "win/Handles.h"
#include "win/PumpedWait.h"

namespace ovmacro {
namespace {

std::atomic<bool> g_pausePressed{false};

// The user's Pause stops the macro and goes no further; the keys the macro sends itself are
// marked injected and pass.
LRESULT CALLBACK PauseHook(int code, WPARAM message, LPARAM lp) {
    if (code == HC_ACTION) {
        const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
        if (key.vkCode == VK_PAUSE && !(key.flags & LLKHF_INJECTED)) {
            if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) g_pausePressed = true;
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, message, lp);
}

// A thread of its own holds the hook, so it is answered at once also while the player sends
// keys and waits.
class PauseWatcher {
public:
    PauseWatcher() : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        g_pausePressed = false;
        thread_ = std::thread([this] { Watch(); });
        WaitForSingleObject(ready_.Get(), 5000);
    }
    // The thread names itself once its queue exists; until then a quit could not arrive.
    ~PauseWatcher() {
        while (!PostThreadMessageW(threadId_, WM_QUIT, 0, 0)) Sleep(1);
        thread_.join();
    }
    PauseWatcher(const PauseWatcher&) = delete;
    PauseWatcher& operator=(const PauseWatcher&) = delete;

private:
    void Watch() {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // a queue for the quit to come to
        threadId_ = GetCurrentThreadId();
        HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, PauseHook, GetModuleHandleW(nullptr), 0);
        SetEvent(ready_.Get());
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        if (hook) UnhookWindowsHookEx(hook);
    }

    win::KernelHandle ready_;
    std::atomic<DWORD> threadId_{0};
    std::thread thread_;
};

// Waits, keeping this thread's messages going; false when Pause came first.
bool Wait(unsigned ms) {
    const DWORD start = GetTickCount();
    while (!g_pausePressed) {
        const DWORD passed = GetTickCount() - start;
        if (passed >= ms) return true;
        win::PumpedWait(std::min<DWORD>(ms - passed, 10));
    }
    return false;
}

// At the recorded point of the window in front now, wherever it stands.
void Click(const Step& step) {
    RECT frame = {};
    if (HWND front = GetForegroundWindow()) GetWindowRect(front, &frame);
    SetCursorPos(frame.left + step.at.x, frame.top + step.at.y);
    DWORD down = MOUSEEVENTF_LEFTDOWN, up = MOUSEEVENTF_LEFTUP;
    if (step.button == Button::Right) {
        down = MOUSEEVENTF_RIGHTDOWN;
        up = MOUSEEVENTF_RIGHTUP;
    } else if (step.button == Button::Middle) {
        down = MOUSEEVENTF_MIDDLEDOWN;
        up = MOUSEEVENTF_MIDDLEUP;
    }
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = down;
    inputs[1].mi.dwFlags = up;
    SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace

bool PlaySteps(const std::vector<Step>& steps) {
    PauseWatcher watcher;
    for (const Step& step : steps) {
        if (g_pausePressed) return false;
        switch (step.kind) {
        case StepKind::Keys: orvale::PlayKeySequence(step.text); break;
        case StepKind::Click: Click(step); break;
        case StepKind::Pause: Wait(std::min(step.ms, kMaxPauseMs)); break;
        case StepKind::Wait: Wait(step.ms); break;
        case StepKind::Comment: break;
        }
    }
    return !g_pausePressed;
}

}  // namespace ovmacro
