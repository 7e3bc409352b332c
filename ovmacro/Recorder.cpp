#include "ovmacro/Recorder.h"

#include "model/SafeFile.h"
#include "ovmacro/MacroIds.h"
#include "ovmacro/RecordedSteps.h"
#include "win/Dialog.h"

namespace ovmacro {
namespace {

bool OwnWindow(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return window && process == GetCurrentProcessId();
}

class RecordingWindow : public win::ModelessDialog {
public:
    RecordingWindow() : win::ModelessDialog(IDD_OVM_RECORDING) {}
    bool stopped = false;

protected:
    // In the top right corner of the work area, out of the way of what is being recorded.
    bool OnInit() override {
        RECT work = {}, own = {};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(Handle(), &own);
        const int margin = GetSystemMetrics(SM_CXSMICON);
        SetWindowPos(Handle(), HWND_TOPMOST, work.right - (own.right - own.left) - margin,
                     work.top + margin, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        return false;
    }
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (msg == WM_MOUSEACTIVATE) {
            result = MA_NOACTIVATE;
            return true;
        }
        return win::ModelessDialog::OnMessage(msg, wp, lp, result);
    }
    void OnOK() override { stopped = true; }
    // Escape belongs to the program being recorded, never to this window.
    void OnCancel() override {}
};

// What the hooks see, kept for the one recording of this process.
struct Recording {
    HWND window = nullptr;
    std::vector<InputEvent> events;
};
Recording* g_recording = nullptr;

bool IsKeyDown(WPARAM message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

// The hooks only note what came: a press of Pause posts Stop and goes no further.
LRESULT CALLBACK KeyboardHook(int code, WPARAM message, LPARAM lp) {
    if (code != HC_ACTION || !g_recording) return CallNextHookEx(nullptr, code, message, lp);
    const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    if (key.vkCode == VK_PAUSE) {
        if (IsKeyDown(message)) PostMessageW(g_recording->window, WM_COMMAND, IDOK, 0);
        return 1;
    }
    HWND front = GetForegroundWindow();
    // Keys typed into this tool's own windows are not the macro's; releases always count, so
    // no modifier is taken to stay down.
    if (!IsKeyDown(message) || !OwnWindow(front)) {
        InputEvent event;
        event.type = IsKeyDown(message) ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
        event.time = key.time;
        event.vk = key.vkCode;
        event.scan = key.scanCode;
        event.layout = GetKeyboardLayout(GetWindowThreadProcessId(front, nullptr));
        g_recording->events.push_back(event);
    }
    return CallNextHookEx(nullptr, code, message, lp);
}

LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM lp) {
    if (code != HC_ACTION || !g_recording) return CallNextHookEx(nullptr, code, message, lp);
    const auto& mouse = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
    InputEvent event;
    event.type = InputEvent::Type::Click;
    event.time = mouse.time;
    bool press = true;
    switch (message) {
    case WM_LBUTTONDOWN: event.button = Button::Left; break;
    case WM_RBUTTONDOWN: event.button = Button::Right; break;
    case WM_MBUTTONDOWN: event.button = Button::Middle; break;
    default: press = false; break;
    }
    HWND window = press ? GetAncestor(WindowFromPoint(mouse.pt), GA_ROOT) : nullptr;
    RECT frame = {};
    if (window && !OwnWindow(window) && GetWindowRect(window, &frame)) {
        event.at = {mouse.pt.x - frame.left, mouse.pt.y - frame.top};
        g_recording->events.push_back(event);
    }
    return CallNextHookEx(nullptr, code, message, lp);
}

std::wstring KeyCharacters(const InputEvent& key, const KeyState& state) {
    BYTE keys[256] = {};
    if (state.shift) keys[VK_SHIFT] = 0x80;
    if (state.ctrl) keys[VK_CONTROL] = 0x80;
    if (state.alt) keys[VK_MENU] = 0x80;
    if (state.caps) keys[VK_CAPITAL] = 0x01;
    wchar_t text[8] = {};
    // Flag 4 leaves the keyboard's dead-key state alone where the system knows of it.
    const int length = ToUnicodeEx(key.vk, key.scan, keys, text, 8, 4, key.layout);
    if (length < 0) {
        // A dead key: asked again, so no accent waits for this tool's next question.
        ToUnicodeEx(key.vk, key.scan, keys, text, 8, 4, key.layout);
        return std::wstring();
    }
    return std::wstring(text, static_cast<size_t>(length));
}

struct HookHandle {
    HHOOK hook;
    ~HookHandle() {
        if (hook) UnhookWindowsHookEx(hook);
    }
};

}  // namespace

bool RecordSteps(std::vector<Step>& steps, std::wstring& why) {
    why.clear();
    RecordingWindow window;
    if (!window.Create(nullptr)) {
        why = L"The Recording window cannot be shown.";
        return false;
    }
    Recording recording;
    recording.window = window.Handle();
    g_recording = &recording;
    const bool capsOn = (GetKeyState(VK_CAPITAL) & 1) != 0;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    {
        HookHandle keyboard{SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, instance, 0)};
        HookHandle mouse{SetWindowsHookExW(WH_MOUSE_LL, MouseHook, instance, 0)};
        if (!keyboard.hook || !mouse.hook) {
            why = L"Keys and clicks cannot be recorded: " + orvale::ErrorOf(GetLastError()).reason;
        } else {
            ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
            MSG msg;
            while (!window.stopped && GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (win::Dialog::PreTranslate(msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    g_recording = nullptr;
    window.Destroy();
    if (!why.empty()) return false;
    steps = StepsFromInput(recording.events, KeyCharacters, capsOn);
    return true;
}

}  // namespace ovmacro
