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

// Under Wine the X server owns the pointer: while another program's menu holds the pointer,
// a move made through Windows calls springs back. xdotool moves the X pointer itself, which
// is what a real mouse does.
bool RunXdotool(const std::string& arguments) {
    static const char* const kXdotool = "Z:\\usr\\bin\\xdotool";
    static const bool available = UnderWine() && FileExists(kXdotool);
    if (!available) return false;
    Process xdotool;
    if (!xdotool.Start(std::string(kXdotool) + " " + arguments)) return false;
    xdotool.WaitForExit(5000);
    return true;
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
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((x * 65536LL + width / 2) / width);
    input.mi.dy = static_cast<LONG>((y * 65536LL + height / 2) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    SetCursorPos(x, y);
    WaitUntil(arrived, 1000, 5);
}

void RightClick(int x, int y) {
    MoveMouse(x, y);
    if (!ClickXPointer(3, {x, y})) SendButtons(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

void LeftClick(int x, int y) {
    MoveMouse(x, y);
    if (!ClickXPointer(1, {x, y})) SendButtons(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

// Keys go where the X server has the keyboard, which is where a user's typing goes; a Wine
// program's own keyboard events would follow Wine's idea of the focus instead.
bool TypeText(const std::string& text) {
    return RunXdotool("type --delay 30 \"" + text + "\"");
}

bool PressKeys(const std::string& keys) { return RunXdotool("key " + keys); }

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
