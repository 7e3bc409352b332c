// The real program at 150 % beside the same at 100 %: it is started while the desktop's scale
// (LogPixels) says 144 DPI, which goes back to what it was as soon as the program has started,
// since a program reads it once, as it starts.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Harness.h"
#include "Scale.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

bool StartAt(Orvale& orvale, DWORD dpi, const char* settings) {
    orvale.WriteSettings(settings);
    ScaleOfNewPrograms scale(dpi);
    return orvale.Start();
}

// The pixels of a screen rectangle, or of `icon` drawn across it on a button's face.
std::vector<DWORD> Pixels(const RECT& area, HICON icon = nullptr) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO format = {};
    format.bmiHeader = {static_cast<DWORD>(sizeof format.bmiHeader), width, -height, 1, 32, BI_RGB,
                        0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    if (icon) DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    if (!icon) BitBlt(dc, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits),
                              static_cast<const DWORD*>(bits) + width * height);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// How many pixels differ by more than the rounding of a blend would make them.
int Differing(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
    int count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            if (std::abs(static_cast<int>((a[i] >> shift & 0xff) - (b[i] >> shift & 0xff))) > 12) {
                ++count;
                break;
            }
        }
    }
    return count;
}

}  // namespace

TEST(Scale, BarButtonsGrowWithTheScaleAndShowIconsDrawnFromImagesOfTheirSize) {
    HMODULE program = LoadLibraryExA((BinDir() + "\\orvale.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE);
    const struct {
        DWORD dpi;
        int button, icon;
    } scales[] = {{96, 24, 16}, {144, 36, 24}};
    for (const auto& scale : scales) {
        SCOPED_TRACE(scale.dpi);
        Orvale orvale;
        ASSERT_TRUE(StartAt(orvale, scale.dpi,
                            "[TaskBar+]\r\nen=0\r\n[Menu+01]\r\nen=1\r\nhoriz=1\r\n"
                            "[menu+:01:00]\r\ntype=106\r\n[menu+:01:01]\r\ntype=0\r\n"));
        TestApp app("Scale Target", "--pos 200 250 400 300");
        ASSERT_NE(nullptr, OpenContextMenu(app));
        HWND button = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            const std::vector<HWND> bars = orvale.VisibleBars();
            return !bars.empty() && (button = BarButtons(bars.front()).front()) != nullptr;
        }));
        const RECT r = WindowRect(button);
        EXPECT_EQ(scale.button, r.right - r.left);
        EXPECT_EQ(scale.button, r.bottom - r.top);

        // Centred on the button, the minimise icon's own image of that size, not the 16 stretched.
        const int inset = (scale.button - scale.icon) / 2;
        const RECT face = {r.left + inset, r.top + inset, r.left + inset + scale.icon,
                           r.top + inset + scale.icon};
        const RECT square = {0, 0, scale.icon, scale.icon};
        auto icon = [&](int size) {
            return static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(IDI_MINIMIZE_WINDOW),
                                                 IMAGE_ICON, size, size, 0));
        };
        const std::vector<DWORD> own = Pixels(square, icon(scale.icon));
        const std::vector<DWORD> stretched = Pixels(square, icon(16));
        EXPECT_TRUE(WaitUntil([&] { return Differing(Pixels(face), own) <= 2; }, 3000));
        if (scale.icon > 16) {
            EXPECT_GT(Differing(Pixels(face), stretched), 10);
        }
        CloseMenus();
    }
    FreeLibrary(program);
}

namespace {

// Every control of a window that sticks out of its client area, by id.
std::vector<int> ControlsOutside(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    std::vector<int> outside;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r = WindowRect(c);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        RECT both = {};
        IntersectRect(&both, &r, &client);
        if (!EqualRect(&both, &r)) outside.push_back(GetDlgCtrlID(c));
    }
    return outside;
}

// The painted title's pixels: those unlike the window's face left of the tab control.
int TitlePixels(HWND settings) {
    RECT strip = {};
    GetClientRect(settings, &strip);
    MapWindowPoints(settings, nullptr, reinterpret_cast<POINT*>(&strip), 2);
    strip.right = WindowRect(GetDlgItem(settings, IDC_TABS)).left;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const DWORD background = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
    const std::vector<DWORD> painted = Pixels(strip);
    return static_cast<int>(std::count_if(painted.begin(), painted.end(), [&](DWORD pixel) {
        return (pixel & 0xffffff) != background;
    }));
}

}  // namespace

// At 100 % and 150 % every control lies inside the window. The system rescales the window and
// its controls when its monitor's DPI changes (and Wine never tells of one): what is the
// program's own follows the message.
TEST(Scale, TheSettingsWindowHoldsItsControlsAtEveryScaleAndFollowsANewDpi) {
    for (DWORD dpi : {144, 96}) {
        SCOPED_TRACE(dpi);
        Orvale orvale;
        ASSERT_TRUE(StartAt(orvale, dpi, "[options]\r\nx=60\r\ny=40\r\n[TaskBar+]\r\nen=0\r\n"));
        HWND settings = ShowSettings(orvale);
        ASSERT_NE(nullptr, settings);
        EXPECT_EQ(std::vector<int>(), ControlsOutside(settings));
        if (dpi != 96) continue;

        HWND list = GetDlgItem(settings, IDC_GLOBAL_BARS);
        const LRESULT row = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
        int title = 0;
        WaitUntil([&] { return (title = TitlePixels(settings)) > 100; });
        // Wine hands the message's rectangle to no other process; the program does not read it.
        SendMessageW(settings, WM_DPICHANGED, MAKEWPARAM(192, 192), 0);
        EXPECT_GE(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 2 * row - 2) << "rows for 200 %";
        EXPECT_TRUE(WaitUntil([&] { return TitlePixels(settings) > title * 3 / 2; }))
            << "the painted title";
        EXPECT_TRUE(WaitUntil([&] { return ControlsOutside(settings).empty(); }));
    }
}
