// What the tests share: the build folder, temporary folders, the real program and the test
// application started beside it, synthetic mouse input, and polling with a deadline.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/Text.h"  // Widen and Narrow: the harness speaks the code page, the program UTF-16

namespace testing_support {

// Whether the tests run under Wine (where the X server owns the pointer and GDI objects are
// counted another way).
bool UnderWine();

// The folder of the running test executable: the build's bin folder, where the program, the
// hook library, the test application and the stand-ins are built.
std::string BinDir();

// Polls `condition` every `pollMs` until it holds or `timeoutMs` has passed, dispatching this
// thread's messages meanwhile. Returns the condition's last value.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000,
               DWORD pollMs = 10);
// Dispatches this thread's messages for `ms` (for windows the test itself owns).
void PumpFor(DWORD ms);

// Starts the shared desktop's shell if needed and waits for its taskbar.
HWND EnsureDesktop();

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
// The file's lines without their line ends; none when the file is missing.
std::vector<std::string> ReadLines(const std::string& path);
bool FileExists(const std::string& path);
// Copies the file `name` of the build's bin folder into `folder`, under the same name.
bool CopyBeside(const std::string& name, const std::string& folder);

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// A started process; terminated at the end if it is still running.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Start(const std::string& commandLine, const std::string& directory = "");
    bool Running() const;
    // Waits for the end; true when it ended within the time, with its exit code.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    void Kill();
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

// The real program, started from a temporary folder that holds copies of orvale.exe, its
// hook library, the shipped icons and the settings file the test writes.
class Orvale {
public:
    explicit Orvale(bool withHookLibrary = true);
    // A copy the user installed: run where it is, with nothing copied or written beforehand.
    struct Installed {
        std::string folder;
    };
    explicit Orvale(const Installed& copy);
    ~Orvale();

    const TempDir& Folder() const { return folder_; }
    std::string SettingsFile() const { return dir_ + "\\ov32data.ini"; }
    void WriteSettings(const std::string& iniText);
    // Reads one value the way the program does (an empty string when missing).
    std::string Setting(const std::string& section, const std::string& key) const;

    // Starts the program and waits until its settings window exists and its start-up has run
    // (the window has been minimised away). False if that did not happen in time.
    bool Start();
    // The same in two steps, for a start-up that waits for the user on the way.
    bool Launch();
    bool WaitForStartUp();
    // The settings window: the dialog titled "Orvale" of this process.
    HWND SettingsWindow() const;
    // Ends the program through its tray menu's Exit; kills it if it does not end in time.
    bool Exit(DWORD timeoutMs = 10000);
    Process& Proc() { return process_; }

    // Bar windows of this process ("OVE32BAR"), in z-order, and those now on screen.
    std::vector<HWND> BarWindows() const;
    std::vector<HWND> VisibleBars() const;

private:
    TempDir folder_;
    std::string dir_;  // where the program runs: the temporary folder or the installed copy
    Process process_;
};

// The test application: a top-level window titled as asked that opens a context menu on a
// right click and logs the keys and commands it receives (one event per line).
class TestApp {
public:
    // `options` are extra command-line words (see tests/testapp/main.cpp); `program` is
    // "testapp.exe" or "testapp_noicon.exe" (the same application without any icon).
    explicit TestApp(const std::string& title, const std::string& options = "",
                     const std::string& program = "testapp.exe");
    ~TestApp();

    bool Started() const { return hwnd_ != nullptr; }
    HWND Window() const { return hwnd_; }
    Process& Proc() { return process_; }
    std::vector<std::string> Log() const;
    // The characters received as WM_CHAR, in order (the window is a Unicode window).
    std::wstring TypedText() const;
    // Gives the window a title of any script (its command line speaks the code page only).
    void SetTitle(const std::wstring& title);
    bool LogContains(const std::string& line) const;
    // Asks the application to stop answering messages for `ms` milliseconds.
    void Hang(DWORD ms);
    // Brings the window to the front and waits until it is the foreground window.
    bool Activate();
    // The centre of its client area, in screen coordinates.
    POINT Centre() const;

private:
    TempDir folder_;
    Process process_;
    std::string logPath_;
    HWND hwnd_ = nullptr;
};

// Brings `app` to the front, right-clicks the centre of its window and waits for its menu;
// null when no menu appeared.
HWND OpenContextMenu(TestApp& app);
// The text of a message box of process `pid` that says `about` (any, when empty), once it is
// on screen; the box itself goes to `box`.
std::string MessageBoxText(DWORD pid, HWND* box, const std::string& about = "");
// Starts Wine's notepad and waits for its window; null when it did not come.
HWND OpenNotepad(Process& notepad);
// Starts Wine's notepad in front; the middle of its edit area, or (0, 0) when it did not come.
POINT StartNotepad(Process& notepad);
// The buttons of a bar window, in their order along the bar.
std::vector<HWND> BarButtons(HWND bar);
void ClickCentre(HWND window);
// The colour on screen at (x, y), as the user sees it.
COLORREF ScreenPixel(int x, int y);

// Mouse input as a user's hand gives it: through the X server under Wine, else SendInput.
void MoveMouse(int x, int y);
void RightClick(int x, int y);
void LeftClick(int x, int y);
// Keys as a keyboard gives them, through the X server, to whichever window the X server gives
// the keyboard (which need not be the window the system calls foreground): `text` typed
// character by character, or keys by their X names ("Delete", "ctrl+F5"); both return once the
// keys are given. False where there is no X server to type through.
bool TypeOnKeyboard(const std::string& text);
bool PressKey(const std::string& keyName);
// Whether `window` is in front as a user meets it: the foreground window and, under Wine, of
// the thread whose window the X server gives the keyboard to (matched by title).
bool InFront(HWND window);

// The screen rectangle of item `index` of a control of any process, asked with `message`
// (TCM_GETITEMRECT, LVM_GETITEMRECT, LB_GETITEMRECT...), whose RECT goes to the control's own
// process; `left` is what the RECT's left field carries in (LVM_GETITEMRECT's LVIR_ code).
RECT ItemRectOf(HWND control, UINT message, WPARAM index, LONG left = 0);
// Left-clicks the centre of item `index` of such a control.
void ClickItem(HWND control, UINT message, WPARAM index);

// The top-level windows of process `pid` (0: any) with the class and title given (null: any).
std::vector<HWND> TopLevelWindows(DWORD pid, const char* className, const char* title);
// The first visible popup menu window ("#32768") on the desktop, or null.
HWND VisibleMenu();
RECT WindowRect(HWND hwnd);
std::string ClassOf(HWND hwnd);
std::string TitleOf(HWND hwnd);
// Closes any open popup menu (Escape to its owner) and waits until none is visible.
void CloseMenus();

// Test application's messages.
constexpr UINT kTestAppHang = WM_APP + 1;  // wParam: milliseconds to stop answering
constexpr const char* kTestAppClass = "OrvaleTestApp";

// The GDI objects a process holds. GetGuiResources answers 0 under Wine, so there they are
// counted in the process's GDI handle table; -1 when that cannot be read.
int GdiObjectCount(HANDLE process = GetCurrentProcess());
// The windows (top-level and child) of a process.
int WindowCount(DWORD pid = GetCurrentProcessId());
// The current folder of a process ("" when it cannot be read), as its own GetCurrentDirectory
// would tell it.
std::string CurrentFolderOf(HANDLE process);

// True when neither Shift, Ctrl, Alt nor a Windows key is held down.
bool NoModifierDown();
// The first visible top-level window of the process with the class `className`, or null.
HWND VisibleWindowOf(const Process& process, const char* className);

}  // namespace testing_support
