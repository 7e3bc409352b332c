// The search by candidate windows finds exactly the window the plain probe finds, on a table of
// arrangements: popup menus at every probe distance, a tooltip or a dialog above part of a
// menu, a submenu beside its menu, a bar of ours, a menu owned by its window, the window
// pressed looking like a menu, a real popup menu, no menu at all. The
// windows belong to a second thread of the test process, which the search takes for another
// program.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "Harness.h"
#include "ModelBuilder.h"
#include "engine/BarTable.h"
#include "engine/BarWindow.h"
#include "engine/MenuSearch.h"

using namespace orvale;
using namespace testing_support;

namespace {

// A thread that creates windows when asked and runs their messages.
class OtherThread {
public:
    OtherThread() {
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitUntil([&] { return factory_ != nullptr; }, 5000, 5);
    }
    ~OtherThread() {
        Clear();
        PostMessageW(factory_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
    }
    HWND Create(const wchar_t* className, const RECT& r, DWORD style, DWORD exStyle,
                HWND owner = nullptr) {
        Request request{className, r, style, exStyle, owner, nullptr};
        SendMessageW(factory_, kCreate, 0, reinterpret_cast<LPARAM>(&request));
        created_.push_back(request.window);
        newest_ = request.window;
        return request.window;
    }
    // A window styled like an application-drawn popup menu.
    HWND Popup(const RECT& r, DWORD extraStyle = 0) {
        return Create(L"OrvaleSearchPopup", r, WS_POPUP | WS_VISIBLE | extraStyle, WS_EX_TOPMOST);
    }
    // A real popup menu, opened at `at`; the thread stays in its menu loop until it closes.
    HWND Menu(POINT at) {
        PostMessageW(factory_, kMenu, 0, MAKELPARAM(at.x, at.y));
        HWND menu = nullptr;
        WaitUntil([&] { return (menu = VisibleMenu()) != nullptr; }, 5000, 5);
        newest_ = menu;
        return menu;
    }
    void Clear() {
        CloseMenus();
        for (HWND w : created_) SendMessageW(factory_, kDestroy, reinterpret_cast<WPARAM>(w), 0);
        created_.clear();
        newest_ = nullptr;
    }
    // The window this thread showed last: the one the tracker hears of as just shown.
    HWND Newest() const { return newest_; }
    // A hidden top-level window of this thread, to own popups.
    HWND Owner() const { return factory_; }

private:
    struct Request {
        const wchar_t* className;
        RECT r;
        DWORD style, exStyle;
        HWND owner;
        HWND window;
    };
    static constexpr UINT kCreate = WM_APP + 1, kDestroy = WM_APP + 2, kMenu = WM_APP + 3;

    static LRESULT CALLBACK FactoryProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == kCreate) {
            auto* q = reinterpret_cast<Request*>(lp);
            q->window = CreateWindowExW(q->exStyle, q->className, L"", q->style, q->r.left,
                                        q->r.top, q->r.right - q->r.left, q->r.bottom - q->r.top,
                                        q->owner, nullptr, GetModuleHandleW(nullptr), nullptr);
            return 0;
        }
        if (msg == kDestroy) {
            DestroyWindow(reinterpret_cast<HWND>(wp));
            return 0;
        }
        if (msg == kMenu) {
            HMENU menu = CreatePopupMenu();
            AppendMenuW(menu, MF_STRING, 1, L"First");
            AppendMenuW(menu, MF_STRING, 2, L"Second");
            TrackPopupMenu(menu, TPM_LEFTALIGN, LOWORD(lp), HIWORD(lp), 0, hwnd, nullptr);
            DestroyMenu(menu);
            return 0;
        }
        if (msg == WM_CLOSE) {
            DestroyWindow(hwnd);
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    static DWORD WINAPI Run(void* self) {
        auto* thread = static_cast<OtherThread*>(self);
        WNDCLASSW popup = {};
        popup.lpfnWndProc = DefWindowProcW;
        popup.hInstance = GetModuleHandleW(nullptr);
        popup.lpszClassName = L"OrvaleSearchPopup";
        RegisterClassW(&popup);
        WNDCLASSW factory = popup;
        factory.lpfnWndProc = FactoryProc;
        factory.lpszClassName = L"OrvaleSearchFactory";
        RegisterClassW(&factory);
        // A top-level window (hidden): a popup menu needs an owner that is not message-only.
        thread->factory_ = CreateWindowExW(0, L"OrvaleSearchFactory", L"", WS_POPUP, 0, 0, 10, 10,
                                           nullptr, nullptr, popup.hInstance, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        return 0;
    }

    HANDLE thread_ = nullptr;
    std::atomic<HWND> factory_{nullptr};
    std::vector<HWND> created_;
    HWND newest_ = nullptr;
};

RECT Around(POINT p, int half) { return {p.x - half, p.y - half, p.x + half + 1, p.y + half + 1}; }

// The search by candidates, and the search that asks first about the window `shown` last,
// against the plain probe at `p`, each passing over the window `pressed`; the plain probe's
// answer.
HWND AllAgree(POINT p, HWND shown, HWND pressed = nullptr) {
    HWND probed = ProbeForMenu(p, pressed);
    EXPECT_EQ(probed, SearchForMenu(p, pressed)) << "at " << p.x << "," << p.y;
    EXPECT_EQ(probed, SearchForMenuShown(p, shown, pressed)) << "at " << p.x << "," << p.y;
    return probed;
}

struct MenuSearchTest : ::testing::Test {
    void SetUp() override {
        EnsureDesktop();
        InitCommonControls();
    }
    void TearDown() override { DestroyAllBarWindows(); }
    const POINT p = {500, 380};
    OtherThread other;
    HWND pressed = nullptr;  // the window the user right-clicked
};

}  // namespace

TEST_F(MenuSearchTest, AMenuAtEveryProbeDistanceIsFoundAndNoneBetweenOrBeyond) {
    EXPECT_EQ(nullptr, AllAgree(p, nullptr)) << "no menu at all";
    // A popup of 3 x 3 pixels on one corner point of the pass at distance d.
    const POINT corners[] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int d = 5; d <= 44; ++d) {
        const POINT corner = corners[d % 4];
        const POINT at = {p.x + corner.x * d, p.y + corner.y * d};
        HWND popup = other.Popup(Around(at, 1));
        // Distances 5-6 lie between the cursor's point and the first pass, 43-44 beyond the
        // last; at 7 and 42 a corner point of the neighbouring pass touches the popup.
        const bool reached = d >= 7 && d <= 42;
        EXPECT_EQ(reached ? popup : nullptr, AllAgree(p, popup)) << "distance " << d;
        other.Clear();
    }
}

TEST_F(MenuSearchTest, WindowsThatAreNoMenuAreLookedPastAndTheFirstMenuInProbeOrderWins) {
    const RECT menuRect = {p.x - 60, p.y - 10, p.x + 60, p.y + 80};
    const RECT overCursor = Around(p, 20);
    struct Case {
        const char* what;
        std::function<HWND()> arrange;  // returns the window the probe must find
    } cases[] = {
        {"a tooltip above part of the menu",
         [&] {
             HWND menu = other.Popup(menuRect);
             other.Create(TOOLTIPS_CLASSW, overCursor, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST);
             return menu;
         }},
        {"a dialog above part of the menu",
         [&] {
             HWND menu = other.Popup(menuRect);
             other.Create(L"#32770", overCursor, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST);
             return menu;
         }},
        {"a button above part of the menu",
         [&] {
             HWND menu = other.Popup(menuRect);
             other.Create(L"Button", overCursor, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST);
             return menu;
         }},
        {"a submenu beside its menu, the cursor on the submenu",
         [&] {
             other.Popup({p.x - 150, p.y - 50, p.x - 5, p.y + 50});
             return other.Popup({p.x - 5, p.y - 30, p.x + 120, p.y + 60});
         }},
        {"a submenu beside its menu, the cursor between them",
         [&] {
             other.Popup({p.x - 150, p.y - 50, p.x - 20, p.y + 50});
             return other.Popup({p.x + 15, p.y - 30, p.x + 120, p.y + 60});
         }},
        {"popups that are no menus: disabled, with a system menu, sizable, neither topmost "
         "nor owned, owned with a caption, faded out",
         [&] {
             other.Popup(Around(p, 10), WS_DISABLED);
             other.Popup(Around({p.x + 20, p.y + 20}, 5), WS_SYSMENU);
             other.Popup(Around({p.x - 20, p.y - 20}, 5), WS_THICKFRAME);
             other.Create(L"OrvaleSearchPopup", Around({p.x + 30, p.y - 30}, 5),
                          WS_POPUP | WS_VISIBLE, 0);
             other.Create(L"OrvaleSearchPopup", Around({p.x - 30, p.y + 30}, 5),
                          WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, other.Owner());
             HWND faded = other.Create(L"OrvaleSearchPopup", Around({p.x + 38, p.y + 38}, 3),
                                       WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST | WS_EX_LAYERED);
             SetLayeredWindowAttributes(faded, 0, 0, LWA_ALPHA);
             return static_cast<HWND>(nullptr);
         }},
        {"an application's menu above its own window: owned, without caption, not topmost",
         [&] {
             return other.Create(L"OrvaleSearchPopup", menuRect, WS_POPUP | WS_VISIBLE | WS_BORDER,
                                 0, other.Owner());
         }},
        {"the window pressed, styled like a menu, its menu farther away",
         [&] {
             pressed = other.Popup(Around(p, 20));
             return other.Popup({p.x + 30, p.y + 30, p.x + 130, p.y + 130});
         }},
        {"a bar of ours above part of the menu",
         [&] {
             HWND menu = other.Popup(menuRect);
             MakeBar(1, true, true, {106, 107});
             CreateMenuBarWindow(1);
             SetWindowPos(BarTable[1]->Handle(), HWND_TOPMOST, p.x - 30, p.y - 12, 0, 0,
                          SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
             return menu;
         }},
        {"a real popup menu", [&] { return other.Menu({p.x - 10, p.y - 10}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pressed = nullptr;
        HWND expected = c.arrange();
        EXPECT_EQ(expected, AllAgree(p, other.Newest(), pressed));
        other.Clear();
        DestroyAllBarWindows();
    }
}
