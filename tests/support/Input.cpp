// Input as a user's hand gives it: the mouse and the keyboard through the X server under Wine,
// and clicks on the items of other programs' controls.
#include "Harness.h"

namespace testing_support {

// ---- Input ----------------------------------------------------------------------------------

namespace {

void SendButtons(DWORD down, DWORD up) {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = down;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = up;
    SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace

namespace {

// Under Wine the X server owns the pointer and the keyboard: while another program's menu
// holds the pointer, a move made through Windows calls springs back, and keys go where the X
// server sends them, not where Windows calls the foreground. xdotool moves the X pointer and
// types through the X server itself, as a real mouse and keyboard do.
bool XdotoolAvailable() {
    static const bool available = UnderWine() && FileExists("Z:\\usr\\bin\\xdotool");
    return available;
}

// Wine starts a Unix program without a process to wait for, so xdotool runs under the shell,
// which leaves a mark in a file once it has ended; `output` receives what xdotool printed.
bool RunXdotool(const std::string& arguments, std::string* output = nullptr) {
    if (!XdotoolAvailable()) return false;
    static int count = 0;
    const std::string name = "/tmp/orvale-xdotool-" + std::to_string(GetCurrentProcessId()) +
                             "-" + std::to_string(++count);
    const std::string done = "Z:" + name + ".done", printed = "Z:" + name + ".out";
    Process shell;
    if (!shell.Start("Z:\\bin\\sh -c \"/usr/bin/xdotool " + arguments + " >" + name +
                     ".out 2>&1; echo >" + name + ".done\"")) {
        return false;
    }
    const bool ended = WaitUntil([&] { return FileExists(done); }, 30000, 2);
    if (output) *output = ReadFile(printed);
    DeleteFileA(done.c_str());
    DeleteFileA(printed.c_str());
    return ended;
}

// The X server counts from the top left corner of all monitors; Windows from that of the
// first monitor, which leaves one left of or above it at negative coordinates.
bool MoveXPointer(int x, int y) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RunXdotool("mousemove " + std::to_string(x - left) + " " + std::to_string(y - top));
}

// Clicks through the X server (button 1 left, 3 right), holding the button as long as a
// hand does: a release that follows its press at once can still fall under the mouse capture
// of a menu that the press is closing.
//
// A press beside an open menu closes the menu, and its release belongs to what lies under the
// pointer once the menu is gone. A hand lets go a good while later; a busy program may take
// longer than that to close its menu, and a release that comes first goes to the menu's
// program instead. So the release waits until such a menu has gone.
bool ClickXPointer(int button, POINT at) {
    HWND menu = VisibleMenu();
    const DWORD menuThread =
        menu && WindowFromPoint(at) != menu ? GetWindowThreadProcessId(menu, nullptr) : 0;
    if (!RunXdotool("mousedown " + std::to_string(button))) return false;
    PumpFor(100);
    if (menuThread) {
        // Until the menu's thread has left its menu loop and let go of the mouse, a release
        // is still its own.
        WaitUntil([&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(menuThread, &info) && !info.hwndCapture &&
                   !(info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE));
        }, 3000);
    }
    return RunXdotool("mouseup " + std::to_string(button));
}

}  // namespace

void MoveMouse(int x, int y) {
    auto arrived = [&] {
        POINT p;
        GetCursorPos(&p);
        return p.x == x && p.y == y;
    };
    if (MoveXPointer(x, y) && WaitUntil(arrived, 1000, 5)) return;
    // An absolute move through the input stream, as a real mouse gives it; then wait until
    // the system agrees where the cursor is, so a click that follows lands there.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0) {
        // A process that came up before the desktop had its size may see none.
        SetCursorPos(x, y);
        WaitUntil(arrived, 1000, 5);
        return;
    }
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((x * 65536LL + width / 2) / width);
    input.mi.dy = static_cast<LONG>((y * 65536LL + height / 2) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    SetCursorPos(x, y);
    WaitUntil(arrived, 1000, 5);
}

bool TypeOnKeyboard(const std::string& text) {
    // From a file, so that no character of the text means anything to a shell on the way.
    const std::string file = "/tmp/orvale-typed-" + std::to_string(GetCurrentProcessId());
    WriteFile("Z:" + file, text);
    const bool typed = RunXdotool("type --delay 5 --file " + file);
    DeleteFileA(("Z:" + file).c_str());
    return typed;
}

bool PressKey(const std::string& keyName) { return RunXdotool("key " + keyName); }

bool InFront(HWND window) {
    if (GetForegroundWindow() != window) return false;
    if (!XdotoolAvailable()) return true;  // no X server: the foreground window has the keys
    std::string focused;
    if (!RunXdotool("getwindowfocus getwindowname", &focused)) return false;
    // Without a window manager (the two-monitor server) the X focus may rest on the pointer's
    // root, and the keys follow the pointer: the foreground is then all there is to check.
    if (focused.find("focused window of 1.") != std::string::npos) return true;
    while (!focused.empty() && (focused.back() == '\n' || focused.back() == '\r')) {
        focused.pop_back();
    }
    // Wine gives what the X server types into any window of a thread to that thread's focus,
    // so the X server's keyboard may rest on another window of the same thread.
    struct Search {
        std::string title;
        bool found;
    } search{focused, false};
    EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), [](HWND w, LPARAM lp) {
        auto* s = reinterpret_cast<Search*>(lp);
        s->found = s->found || TitleOf(w) == s->title;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void RightClick(int x, int y) {
    MoveMouse(x, y);
    if (!ClickXPointer(3, {x, y})) SendButtons(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

void LeftClick(int x, int y) {
    MoveMouse(x, y);
    if (!ClickXPointer(1, {x, y})) SendButtons(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

RECT ItemRectOf(HWND control, UINT message, WPARAM index, LONG left) {
    RECT rect = {left, 0, 0, 0};
    if (message == LB_GETITEMRECT) {
        // The system's own list box message carries its RECT across processes by itself.
        if (SendMessageW(control, message, index, reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
            return RECT{};
        }
        MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(control, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                 FALSE, pid);
    if (!process) return RECT{};
    void* remote = VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
    SIZE_T moved = 0;
    if (remote && WriteProcessMemory(process, remote, &rect, sizeof rect, &moved)) {
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(control, message, index, reinterpret_cast<LPARAM>(remote),
                                SMTO_ABORTIFHUNG, 2000, &answer) &&
            ReadProcessMemory(process, remote, &rect, sizeof rect, &moved)) {
            MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        } else {
            rect = RECT{};
        }
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return rect;
}

void ClickItem(HWND control, UINT message, WPARAM index) {
    RECT r = ItemRectOf(control, message, index);
    LeftClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void ClickCentre(HWND window) {
    RECT r = WindowRect(window);
    LeftClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

bool NoModifierDown() {
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN}) {
        if (GetAsyncKeyState(vk) & 0x8000) return false;
    }
    return true;
}

}  // namespace testing_support
