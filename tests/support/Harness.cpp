#include "Harness.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace testing_support {

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Ansi(const std::wstring& text) {
    if (text.empty()) return std::string();
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &narrow[0],
                        length, nullptr, nullptr);
    return narrow;
}

std::string BinDir() {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path(module);
    return path.substr(0, path.find_last_of('\\'));
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    } while (GetTickCount() - start < ms);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return condition();
        PumpFor(pollMs);
    }
}

HWND EnsureDesktop() {
    GetDesktopWindow();
    HWND taskbar = nullptr;
    WaitUntil([&] { return (taskbar = FindWindowA("Shell_TrayWnd", nullptr)) != nullptr; },
              15000, 50);
    return taskbar;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream text(ReadFile(path));
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// ---- TempDir ---------------------------------------------------------------------------------

namespace {

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

bool CopyBeside(const std::string& name, const std::string& folder) {
    return CopyFileA((BinDir() + "\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE) != 0;
}

TempDir::TempDir() {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof name, "orvale-test-%lu-%d-%lu",
                      static_cast<unsigned long>(GetCurrentProcessId()), ++counter,
                      static_cast<unsigned long>(GetTickCount()));
        path_ = std::string(temp) + name;
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempDir::~TempDir() {
    // A process that just ended may hold its files for a moment.
    for (int attempt = 0; attempt < 20 && FileExists(path_); ++attempt) {
        RemoveTree(path_);
        if (FileExists(path_)) Sleep(50);
    }
}

// ---- Process ---------------------------------------------------------------------------------

Process::~Process() {
    Kill();
}

bool Process::Start(const std::string& commandLine, const std::string& directory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    handle_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

bool Process::Running() const {
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!handle_) return true;
    bool ended = WaitUntil([&] { return !Running(); }, timeoutMs);
    if (ended && exitCode) GetExitCodeProcess(handle_, exitCode);
    return ended;
}

void Process::Kill() {
    if (!handle_) return;
    if (Running()) {
        TerminateProcess(handle_, 1);
        WaitForSingleObject(handle_, 5000);
    }
    CloseHandle(handle_);
    handle_ = nullptr;
}

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

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className, const char* title) {
    WindowQuery query{pid, className, title, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

}  // namespace

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
    for (const char* icon : {"www.ico", "email.ico", "kseq.ico", "macro.ico"}) {
        CopyBeside(icon, folder_.Path());
    }
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

bool Orvale::Start() {
    EnsureDesktop();
    if (!process_.Start("\"" + dir_ + "\\orvale.exe\"", dir_)) return false;
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

void ClickCentre(HWND window) {
    RECT r = WindowRect(window);
    LeftClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

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

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Under Wine the X server owns the pointer: while another program's menu holds the pointer,
// a move made through Windows calls springs back. xdotool moves the X pointer itself, which
// is what a real mouse does.
bool RunXdotool(const std::string& arguments) {
    static const char* const kXdotool = "Z:\\usr\\bin\\xdotool";
    static const bool available = RunningUnderWine() && FileExists(kXdotool);
    if (!available) return false;
    Process xdotool;
    if (!xdotool.Start(std::string(kXdotool) + " " + arguments)) return false;
    xdotool.WaitForExit(5000);
    return true;
}

bool MoveXPointer(int x, int y) {
    return RunXdotool("mousemove " + std::to_string(x) + " " + std::to_string(y));
}

// Clicks through the X server (button 1 left, 3 right), holding the button as long as a
// hand does: a release that follows its press at once can still fall under the mouse capture
// of a menu that the press is closing.
bool ClickXPointer(int button) {
    if (!RunXdotool("mousedown " + std::to_string(button))) return false;
    PumpFor(100);
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
    if (!ClickXPointer(3)) SendButtons(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

void LeftClick(int x, int y) {
    MoveMouse(x, y);
    if (!ClickXPointer(1)) SendButtons(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
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

// ---- GDI objects and windows of a process --------------------------------------------------

namespace {

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Wine keeps a process's GDI handles in a table the PEB points to (GdiSharedHandleTable, at
// 0xF8 in the 64-bit PEB): 0x10000 entries of 24 bytes, an entry in use when its type byte
// (offset 14) is not 0.
int WineGdiObjectCount(HANDLE process) {
    struct BasicInformation {
        LONG_PTR exitStatus;
        void* peb;
        ULONG_PTR affinity;
        LONG_PTR basePriority;
        ULONG_PTR uniqueProcessId;
        ULONG_PTR parentProcessId;
    } info = {};
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    if (!query || query(process, 0, &info, sizeof info, nullptr) != 0 || !info.peb) return -1;
    void* table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, static_cast<char*>(info.peb) + 0xF8, &table, sizeof table,
                           &read) ||
        !table) {
        return -1;
    }
    constexpr size_t kEntries = 0x10000, kEntrySize = 24;
    std::vector<unsigned char> entries(kEntries * kEntrySize);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &read)) return -1;
    int used = 0;
    for (size_t i = 0; i < kEntries; ++i) used += entries[i * kEntrySize + 14] != 0;
    return used;
}

BOOL CALLBACK CountChildren(HWND, LPARAM lp) {
    ++*reinterpret_cast<int*>(lp);
    return TRUE;
}

}  // namespace

int GdiObjectCount(HANDLE process) {
    if (UnderWine()) return WineGdiObjectCount(process);
    return static_cast<int>(GetGuiResources(process, GR_GDIOBJECTS));
}

int WindowCount(DWORD pid) {
    int count = 0;
    for (HWND top : TopLevelWindows(pid, nullptr, nullptr)) {
        ++count;
        EnumChildWindows(top, CountChildren, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

// ---- Keyboard state and other programs' windows ---------------------------------------------

bool NoModifierDown() {
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN}) {
        if (GetAsyncKeyState(vk) & 0x8000) return false;
    }
    return true;
}

HWND VisibleWindowOf(const Process& process, const char* className) {
    for (HWND hwnd : TopLevelWindows(process.Id(), className, nullptr)) {
        if (IsWindowVisible(hwnd)) return hwnd;
    }
    return nullptr;
}

}  // namespace testing_support
