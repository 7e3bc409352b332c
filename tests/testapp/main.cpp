// The test application: one top-level window that opens a context menu on a right click (or
// Shift+F10) and logs what it receives, one event per line, to the file given by --log:
//   keydown VK mods=SCAW   keyup VK mods=...   syskeydown VK mods=...   syskeyup VK mods=...
//   char CODE   command ID   syscommand SC   menu open   menu closed   hang MS   activated
//   destroyed
// Options:
//   --title TEXT       window title (may be empty)
//   --log FILE         where the log goes
//   --pos X Y W H      window rectangle (default 200 150 400 300)
//   --nominbox         no minimise box        --nomaxbox   no maximise box
//   --tool             a tool window          --noicon     no icon at all
//   --minimized        start minimised        --maximized  start maximised
//   --menu-delay MS    open the context menu MS milliseconds after the right click
//   --custom-menu      open a window styled like a custom popup menu instead of a real menu
//   --popup-menu STYLE open a menu window of its own that closes on a click outside it, as
//                      many applications draw theirs: "topmost" (a topmost tool window, closed
//                      by destroying it), "layered" (the same, layered and never activated,
//                      closed by fading it out) or "owned" (a popup owned by the main window,
//                      not topmost, closed by moving it out of sight)
//   --ignore-close     refuse WM_CLOSE (Alt+F4 does nothing)
//   --hand-activation-to TITLE   whenever activated, activate the test application titled TITLE
//                      instead, before answering anything else (logs "activation handed on")
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Options {
    std::string title = "Test Application";
    std::string log;
    std::string handActivationTo;
    int x = 200, y = 150, width = 400, height = 300;
    bool noMinBox = false, noMaxBox = false, tool = false, noIcon = false;
    bool minimized = false, maximized = false, customMenu = false, ignoreClose = false;
    int menuDelay = 0;
    std::string popupMenu;
} g_options;

constexpr UINT kHang = WM_APP + 1;
constexpr UINT_PTR kMenuTimer = 1;
HWND g_customMenu = nullptr;

void Log(const char* format, ...) {
    if (g_options.log.empty()) return;
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (FILE* file = std::fopen(g_options.log.c_str(), "ab")) {
        std::fprintf(file, "%s\n", line);
        std::fclose(file);
    }
}

std::string Modifiers() {
    std::string mods;
    if (GetKeyState(VK_SHIFT) & 0x8000) mods += 'S';
    if (GetKeyState(VK_CONTROL) & 0x8000) mods += 'C';
    if (GetKeyState(VK_MENU) & 0x8000) mods += 'A';
    if ((GetKeyState(VK_LWIN) | GetKeyState(VK_RWIN)) & 0x8000) mods += 'W';
    return mods;
}

LRESULT CALLBACK CustomMenuProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_LBUTTONDOWN) {
        Log("command 1001");
        DestroyWindow(hwnd);
        g_customMenu = nullptr;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// ---- A menu window of the application's own (--popup-menu) ----------------------------------

// Each style closes its window as applications of its kind do: the topmost one is destroyed,
// the layered one is faded out (wholly transparent) and the owned one is moved out of sight;
// those two are kept for the next time.
HWND g_popupMenu = nullptr;
bool g_popupOpen = false;

void ClosePopupMenu() {
    if (!g_popupOpen) return;
    g_popupOpen = false;  // first: giving up the capture calls back here
    ReleaseCapture();
    const std::string& style = g_options.popupMenu;
    if (style == "layered") {
        SetLayeredWindowAttributes(g_popupMenu, 0, 0, LWA_ALPHA);
    } else if (style == "owned") {
        SetWindowPos(g_popupMenu, nullptr, -32000, -32000, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        DestroyWindow(g_popupMenu);
        g_popupMenu = nullptr;
    }
    Log("menu closed");
}

// Holds the mouse while open, as such menus do: a press inside chooses, a press outside closes
// it and goes no further; losing the mouse, or the application losing the activation, closes it.
LRESULT CALLBACK PopupMenuProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        RECT client;
        GetClientRect(hwnd, &client);
        const POINT at = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (PtInRect(&client, at)) Log("command 1001");
        ClosePopupMenu();
        return 0;
    }
    case WM_CAPTURECHANGED:
        ClosePopupMenu();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

void OpenPopupMenu(HWND owner, POINT at) {
    const std::string& style = g_options.popupMenu;
    if (!g_popupMenu) {
        DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
        if (style == "layered") exStyle |= WS_EX_LAYERED | WS_EX_NOACTIVATE;
        if (style == "owned") exStyle = 0;
        g_popupMenu = CreateWindowExW(exStyle, L"OrvaleTestPopup", L"", WS_POPUP | WS_BORDER,
                                      at.x, at.y, 120, 90, owner, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    }
    SetWindowPos(g_popupMenu, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (style == "layered") SetLayeredWindowAttributes(g_popupMenu, 0, 255, LWA_ALPHA);
    ShowWindow(g_popupMenu, SW_SHOWNA);
    SetCapture(g_popupMenu);
    g_popupOpen = true;
    Log("menu open");
}

void OpenMenu(HWND owner, POINT at) {
    if (!g_options.popupMenu.empty()) {
        OpenPopupMenu(owner, at);
        return;
    }
    if (g_options.customMenu) {
        // A window that looks like an application-drawn popup menu: popup, visible, topmost,
        // no system menu, no sizing frame.
        g_customMenu = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"OrvaleTestMenu", L"",
                                       WS_POPUP | WS_BORDER, at.x, at.y, 120, 90, owner, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
        ShowWindow(g_customMenu, SW_SHOWNA);
        Log("menu open");
        return;
    }
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1001, L"First");
    AppendMenuW(menu, MF_STRING, 1002, L"Second");
    AppendMenuW(menu, MF_STRING, 1003, L"Third");
    AppendMenuW(menu, MF_STRING, 1004, L"Fourth");
    Log("menu open");
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    Log("menu closed");
    DestroyMenu(menu);
}

POINT g_menuPoint;

std::wstring Wide(const std::string& text);

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_KEYDOWN: Log("keydown %u mods=%s", static_cast<unsigned>(wp), Modifiers().c_str()); break;
    case WM_KEYUP: Log("keyup %u mods=%s", static_cast<unsigned>(wp), Modifiers().c_str()); break;
    case WM_SYSKEYDOWN: Log("syskeydown %u mods=%s", static_cast<unsigned>(wp), Modifiers().c_str()); break;
    case WM_SYSKEYUP: Log("syskeyup %u mods=%s", static_cast<unsigned>(wp), Modifiers().c_str()); break;
    case WM_CHAR: Log("char %u", static_cast<unsigned>(wp)); return 0;
    case WM_COMMAND: Log("command %u", static_cast<unsigned>(LOWORD(wp))); return 0;
    case WM_SYSCOMMAND: Log("syscommand %u", static_cast<unsigned>(wp & 0xFFF0)); break;
    case WM_ACTIVATE: {
        if (LOWORD(wp) == WA_INACTIVE) break;
        Log("activated");
        if (g_options.handActivationTo.empty()) break;
        // Handed on once the activation has run its course here: Wine ignores a change of the
        // foreground window made before that.
        const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
        if (HWND other = FindWindowW(L"OrvaleTestApp", Wide(g_options.handActivationTo).c_str())) {
            Log("activation handed on");
            SetForegroundWindow(other);
        }
        return result;
    }
    case WM_ACTIVATEAPP:
        if (!wp) ClosePopupMenu();
        break;
    case WM_CONTEXTMENU: {
        POINT at = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (lp == -1) {  // from the keyboard
            RECT rect;
            GetWindowRect(hwnd, &rect);
            at = {rect.left + 40, rect.top + 60};
        }
        if (g_options.menuDelay > 0) {
            g_menuPoint = at;
            SetTimer(hwnd, kMenuTimer, static_cast<UINT>(g_options.menuDelay), nullptr);
        } else {
            OpenMenu(hwnd, at);
        }
        return 0;
    }
    case WM_TIMER:
        if (wp == kMenuTimer) {
            KillTimer(hwnd, kMenuTimer);
            OpenMenu(hwnd, g_menuPoint);
        }
        return 0;
    case kHang:
        Log("hang %u", static_cast<unsigned>(wp));
        Sleep(static_cast<DWORD>(wp));
        return 0;
    case WM_GETICON:
    case WM_QUERYDRAGICON:
        if (g_options.noIcon) return 0;
        break;
    case WM_CLOSE:
        if (g_options.ignoreClose) {
            Log("close refused");
            return 0;
        }
        break;
    case WM_DESTROY:
        Log("destroyed");
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

std::wstring Wide(const std::string& text) {
    wchar_t wide[1024] = {};
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 1024);
    return wide;
}

void ParseArguments() {
    int argc = __argc;
    char** argv = __argv;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&](int def) { return i + 1 < argc ? std::atoi(argv[++i]) : def; };
        if (a == "--title" && i + 1 < argc) g_options.title = argv[++i];
        else if (a == "--log" && i + 1 < argc) g_options.log = argv[++i];
        else if (a == "--pos") {
            g_options.x = next(200);
            g_options.y = next(150);
            g_options.width = next(400);
            g_options.height = next(300);
        }
        else if (a == "--nominbox") g_options.noMinBox = true;
        else if (a == "--nomaxbox") g_options.noMaxBox = true;
        else if (a == "--tool") g_options.tool = true;
        else if (a == "--noicon") g_options.noIcon = true;
        else if (a == "--minimized") g_options.minimized = true;
        else if (a == "--maximized") g_options.maximized = true;
        else if (a == "--menu-delay") g_options.menuDelay = next(0);
        else if (a == "--custom-menu") g_options.customMenu = true;
        else if (a == "--popup-menu" && i + 1 < argc) g_options.popupMenu = argv[++i];
        else if (a == "--ignore-close") g_options.ignoreClose = true;
        else if (a == "--hand-activation-to" && i + 1 < argc)
            g_options.handActivationTo = argv[++i];
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ParseArguments();

    WNDCLASSW main = {};
    main.lpfnWndProc = MainProc;
    main.hInstance = instance;
    main.hCursor = LoadCursor(nullptr, IDC_ARROW);
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    main.hIcon = g_options.noIcon ? nullptr : LoadIcon(nullptr, IDI_APPLICATION);
    main.lpszClassName = L"OrvaleTestApp";
    RegisterClassW(&main);

    WNDCLASSW menu = {};
    menu.lpfnWndProc = CustomMenuProc;
    menu.hInstance = instance;
    menu.hCursor = LoadCursor(nullptr, IDC_ARROW);
    menu.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    menu.lpszClassName = L"OrvaleTestMenu";
    RegisterClassW(&menu);
    menu.lpfnWndProc = PopupMenuProc;
    menu.lpszClassName = L"OrvaleTestPopup";
    RegisterClassW(&menu);

    DWORD style = WS_OVERLAPPEDWINDOW;
    if (g_options.noMinBox) style &= ~WS_MINIMIZEBOX;
    if (g_options.noMaxBox) style &= ~WS_MAXIMIZEBOX;
    DWORD exStyle = g_options.tool ? WS_EX_TOOLWINDOW : 0;
    // A Unicode window: characters of every script arrive as themselves (WM_CHAR logs UTF-16).
    HWND hwnd = CreateWindowExW(exStyle, L"OrvaleTestApp", Wide(g_options.title).c_str(), style,
                                g_options.x, g_options.y, g_options.width, g_options.height,
                                nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    int show = SW_SHOWNORMAL;
    if (g_options.minimized) show = SW_SHOWMINIMIZED;
    if (g_options.maximized) show = SW_SHOWMAXIMIZED;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    Log("started");

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
