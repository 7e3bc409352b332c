// The programs a test starts and the windows they show: the real program, the test
// application, menus and bars.
#include "Harness.h"

#include <algorithm>

namespace testing_support {

// ---- Windows of a process -------------------------------------------------------------------

namespace {

struct WindowQuery {
    DWORD pid;
    const char* className;  // null: any
    const char* title;      // null: any
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lp) {
    auto* query = reinterpret_cast<WindowQuery*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (query->pid && pid != query->pid) return TRUE;
    if (query->className && ClassOf(hwnd) != query->className) return TRUE;
    if (query->title && TitleOf(hwnd) != query->title) return TRUE;
    query->found.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className, const char* title) {
    WindowQuery query{pid, className, title, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TitleOf(HWND hwnd) {
    char title[512] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    return title;
}

RECT WindowRect(HWND hwnd) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return rect;
}

HWND VisibleMenu() {
    for (HWND hwnd : TopLevelWindows(0, "#32768", nullptr)) {
        if (IsWindowVisible(hwnd)) return hwnd;
    }
    return nullptr;
}

void CloseMenus() {
    // Escape posted to the menu itself: its menu loop reads it whichever window has the focus.
    for (int attempt = 0; attempt < 5; ++attempt) {
        HWND menu = VisibleMenu();
        if (!menu) return;
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitUntil([&] { return !IsWindowVisible(menu); }, 1000);
    }
}

// ---- Orvale ----------------------------------------------------------------------------------

Orvale::Orvale(bool withHookLibrary) : dir_(folder_.Path()) {
    CopyBeside("orvale.exe", folder_.Path());
    if (withHookLibrary) CopyBeside("_ovdll.dll", folder_.Path());
    // The shipped icons: every icon file in the build's bin folder.
    WIN32_FIND_DATAA icon;
    HANDLE found = FindFirstFileA((BinDir() + "\\*.ico").c_str(), &icon);
    for (bool more = found != INVALID_HANDLE_VALUE; more; more = FindNextFileA(found, &icon)) {
        CopyBeside(icon.cFileName, folder_.Path());
    }
    if (found != INVALID_HANDLE_VALUE) FindClose(found);
}

Orvale::Orvale(const Installed& copy) : dir_(copy.folder) {}

Orvale::~Orvale() { Exit(5000); }

void Orvale::WriteSettings(const std::string& iniText) { WriteFile(SettingsFile(), iniText); }

std::string Orvale::Setting(const std::string& section, const std::string& key) const {
    char value[512] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value,
                             SettingsFile().c_str());
    return value;
}

bool Orvale::Start() { return Launch() && WaitForStartUp(); }

bool Orvale::Launch() {
    EnsureDesktop();
    return process_.Start("\"" + dir_ + "\\orvale.exe\"", dir_);
}

bool Orvale::WaitForStartUp() {
    // Start-up ends with a posted minimise that hides the settings window: once the window
    // is minimised, every start-up step has run. The minimise marks the window minimised
    // before it shows and hides it, so it is over only when the program has answered a
    // message since.
    return WaitUntil([&] {
        HWND settings = SettingsWindow();
        if (!settings || !IsIconic(settings) || IsWindowVisible(settings)) return false;
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(settings, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
        return IsIconic(settings) && !IsWindowVisible(settings);
    }, 15000);
}

HWND Orvale::SettingsWindow() const {
    auto windows = TopLevelWindows(process_.Id(), "#32770", "Orvale");
    return windows.empty() ? nullptr : windows.front();
}

bool Orvale::Exit(DWORD timeoutMs) {
    if (!process_.Running()) return true;
    if (HWND settings = SettingsWindow()) PostMessageA(settings, WM_COMMAND, 32805, 0);
    if (process_.WaitForExit(timeoutMs)) return true;
    process_.Kill();
    return false;
}

std::vector<HWND> Orvale::BarWindows() const {
    return TopLevelWindows(process_.Id(), "#32770", "OVE32BAR");
}

std::vector<HWND> Orvale::VisibleBars() const {
    std::vector<HWND> onScreen;
    for (HWND bar : BarWindows()) {
        RECT rect = WindowRect(bar);
        if (IsWindowVisible(bar) && rect.left < 5000 && rect.top < 5000) onScreen.push_back(bar);
    }
    return onScreen;
}

// ---- TestApp ---------------------------------------------------------------------------------

TestApp::TestApp(const std::string& title, const std::string& options,
                 const std::string& program) {
    EnsureDesktop();
    logPath_ = folder_.File("testapp.log");
    std::string line = "\"" + BinDir() + "\\" + program + "\" --title \"" + title +
                       "\" --log \"" + logPath_ + "\" " + options;
    if (!process_.Start(line, folder_.Path())) return;
    WaitUntil([&] {
        for (HWND hwnd : TopLevelWindows(process_.Id(), kTestAppClass, nullptr)) {
            if (IsWindowVisible(hwnd)) hwnd_ = hwnd;
        }
        return hwnd_ != nullptr;
    }, 10000);
}

TestApp::~TestApp() {
    if (hwnd_ && process_.Running()) {
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        process_.WaitForExit(2000);
    }
}

std::vector<std::string> TestApp::Log() const { return ReadLines(logPath_); }

std::wstring TestApp::TypedText() const {
    std::wstring typed;
    for (const std::string& line : Log()) {
        if (line.rfind("char ", 0) == 0) typed += static_cast<wchar_t>(std::stoi(line.substr(5)));
    }
    return typed;
}

void TestApp::SetTitle(const std::wstring& title) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()),
                        SMTO_ABORTIFHUNG, 2000, &ignored);
}

bool TestApp::LogContains(const std::string& wanted) const {
    for (const std::string& line : Log()) {
        if (line == wanted) return true;
    }
    return false;
}

void TestApp::Hang(DWORD ms) { PostMessageA(hwnd_, kTestAppHang, ms, 0); }

bool TestApp::Activate() {
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    // A window that has just been started may still take the activation for itself: ask
    // again until this one is in front.
    DWORD lastAsk = 0;
    return WaitUntil([&] {
        if (GetForegroundWindow() == hwnd_) return true;
        if (GetTickCount() - lastAsk >= 200) {
            SetForegroundWindow(hwnd_);
            lastAsk = GetTickCount();
        }
        return false;
    }, 5000);
}

POINT TestApp::Centre() const {
    RECT client = {};
    GetClientRect(hwnd_, &client);
    POINT centre = {client.right / 2, client.bottom / 2};
    ClientToScreen(hwnd_, &centre);
    return centre;
}

HWND OpenContextMenu(TestApp& app) {
    if (!app.Activate()) return nullptr;
    POINT centre = app.Centre();
    RightClick(centre.x, centre.y);
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = VisibleMenu()) != nullptr; }, 5000);
    return menu;
}

std::string MessageBoxText(DWORD pid, HWND* box, const std::string& about) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != pid || ClassOf(w) != "#32770" || !IsWindowVisible(w)) continue;
        for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (ClassOf(c) != "Static" || TitleOf(c).empty()) continue;
            if (TitleOf(c).find(about) == std::string::npos) continue;
            *box = w;
            return TitleOf(c);
        }
    }
    return "";
}

HWND OpenNotepad(Process& notepad) {
    HWND window = nullptr;
    if (!notepad.Start("notepad.exe")) return nullptr;
    WaitUntil([&] { return (window = VisibleWindowOf(notepad, "Notepad")) != nullptr; }, 15000);
    return window;
}

POINT StartNotepad(Process& notepad) {
    HWND window = OpenNotepad(notepad);
    if (!window) return {0, 0};
    SetForegroundWindow(window);
    RECT r = WindowRect(FindWindowExA(window, nullptr, "Edit", nullptr));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::vector<HWND> BarButtons(HWND bar) {
    std::vector<HWND> buttons;
    for (HWND c = GetWindow(bar, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == "Button") buttons.push_back(c);
    }
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
        RECT ra = WindowRect(a), rb = WindowRect(b);
        return ra.left + ra.top < rb.left + rb.top;
    });
    return buttons;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF color = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return color;
}



HWND VisibleWindowOf(const Process& process, const char* className) {
    for (HWND hwnd : TopLevelWindows(process.Id(), className, nullptr)) {
        if (IsWindowVisible(hwnd)) return hwnd;
    }
    return nullptr;
}

}  // namespace testing_support
