// The real program at 150 % beside the same at 100 %: it is started while the desktop's scale
// (LogPixels) says 144 DPI, which goes back to what it was as soon as the program has started,
// since a program reads it once, as it starts.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Harness.h"
#include "Scale.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

bool StartAt(Orvale& orvale, DWORD dpi) {
    ScaleOfNewPrograms scale(dpi);
    return orvale.Start();
}

// A bar of a window command and a key sequence with a shipped icon file.
const char* kKeysBar =
    "[TaskBar+]\r\nen=0\r\n[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Keys\r\n"
    "[menu+:01:00]\r\ntype=106\r\n"
    "[menu+:01:01]\r\ntype=101\r\nwnd=\r\npth=<ctrl>c<ctrl>\r\nipth=copy.ico\r\ninum=0\r\n"
    "par=\r\ndir=kseq:\r\ntt=Copy\r\n[menu+:01:02]\r\ntype=0\r\n";

// Pixels row by row: the screen's, or an icon drawn on a button's face.
using Picture = std::vector<DWORD>;
Picture Capture(const RECT& area, HICON icon = nullptr) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    if (icon) {
        RECT all = {0, 0, width, height};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    } else {
        BitBlt(dc, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    }
    GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    Picture picture(first, first + width * height);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return picture;
}

// How many pixels of two pictures differ by more than a rounding of the blending would.
int Differing(const Picture& a, const Picture& b) {
    int count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            const int d = static_cast<int>((a[i] >> shift) & 0xff) -
                          static_cast<int>((b[i] >> shift) & 0xff);
            if (d > 12 || d < -12) {
                ++count;
                break;
            }
        }
    }
    return count;
}

// The bar on screen with `buttons` buttons, once the layout has placed it.
HWND BarOnScreen(Orvale& orvale, size_t buttons) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND bar : orvale.VisibleBars()) {
            if (BarButtons(bar).size() == buttons) found = bar;
        }
        return found != nullptr;
    });
    return found;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Every control of a window that sticks out of its client area.
std::vector<std::string> ControlsOutside(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    std::vector<std::string> outside;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r = WindowRect(c);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        if (!Inside(r, client)) outside.push_back(std::to_string(GetDlgCtrlID(c)));
    }
    return outside;
}

}  // namespace

TEST(Scale, BarButtonsGrowWithTheScaleAndShowIconsDrawnFromImagesOfTheirSize) {
    const std::string program = BinDir() + "\\orvale.exe";
    HMODULE resources = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, resources);
    const struct {
        DWORD dpi;
        int button, icon;
    } scales[] = {{96, 24, 16}, {144, 36, 24}};
    for (const auto& scale : scales) {
        SCOPED_TRACE(scale.dpi);
        Orvale orvale;
        orvale.WriteSettings(kKeysBar);
        ASSERT_TRUE(StartAt(orvale, scale.dpi));
        ASSERT_TRUE(WaitUntil([&] { return orvale.BarWindows().size() == 2; }));
        TestApp app("Scale Target", "--pos 200 250 400 300");
        ASSERT_NE(nullptr, OpenContextMenu(app));
        HWND bar = BarOnScreen(orvale, 2);
        ASSERT_NE(nullptr, bar);
        RECT client = {};
        GetClientRect(bar, &client);
        EXPECT_EQ(scale.button, client.bottom) << "the frame is the bar's own";

        const std::wstring copyIcon = win::Widen(orvale.Folder().File("copy.ico"));
        HICON icons[] = {
            static_cast<HICON>(LoadImageW(resources, MAKEINTRESOURCEW(IDI_MINIMIZE_WINDOW),
                                          IMAGE_ICON, scale.icon, scale.icon, 0)),
            static_cast<HICON>(LoadImageW(nullptr, copyIcon.c_str(), IMAGE_ICON, scale.icon,
                                          scale.icon, LR_LOADFROMFILE))};
        HICON smallIcons[] = {
            static_cast<HICON>(LoadImageW(resources, MAKEINTRESOURCEW(IDI_MINIMIZE_WINDOW),
                                          IMAGE_ICON, 16, 16, 0)),
            static_cast<HICON>(LoadImageW(nullptr, copyIcon.c_str(), IMAGE_ICON, 16, 16,
                                          LR_LOADFROMFILE))};
        const std::vector<HWND> buttons = BarButtons(bar);
        for (size_t i = 0; i < buttons.size(); ++i) {
            SCOPED_TRACE(i);
            const RECT r = WindowRect(buttons[i]);
            EXPECT_EQ(scale.button, r.right - r.left);
            EXPECT_EQ(scale.button, r.bottom - r.top);
            // Centred on the button, as its own image of that size.
            const int x = r.left + (scale.button - scale.icon) / 2;
            const int y = r.top + (scale.button - scale.icon) / 2;
            const RECT face = {x, y, x + scale.icon, y + scale.icon};
            const RECT square = {0, 0, scale.icon, scale.icon};
            const Picture own = Capture(square, icons[i]);
            const Picture stretched = Capture(square, smallIcons[i]);
            Picture shown;
            EXPECT_TRUE(WaitUntil([&] {
                shown = Capture(face);
                return Differing(shown, own) <= 2;
            }, 3000)) << Differing(shown, own) << " pixels differ from the image of its size";
            if (scale.icon != 16) {
                EXPECT_GT(Differing(shown, stretched), 10) << "not the small image stretched";
            }
        }
        for (HICON icon : {icons[0], icons[1], smallIcons[0], smallIcons[1]}) DestroyIcon(icon);
        CloseMenus();
    }
    FreeLibrary(resources);
}

TEST(Scale, EveryControlOfTheSettingsWindowLiesInsideIt) {
    for (DWORD dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        Orvale orvale;
        orvale.WriteSettings("[options]\r\nx=60\r\ny=40\r\n[TaskBar+]\r\nen=0\r\n");
        ASSERT_TRUE(StartAt(orvale, dpi));
        HWND settings = ShowSettings(orvale);
        ASSERT_NE(nullptr, settings);
        EXPECT_EQ(std::vector<std::string>(), ControlsOutside(settings));
    }
}

namespace {

// How far the painted title reaches along the window's left edge, in rows of pixels.
int TitleLength(HWND settings) {
    RECT client = {};
    GetClientRect(settings, &client);
    MapWindowPoints(settings, nullptr, reinterpret_cast<POINT*>(&client), 2);
    client.right = WindowRect(GetDlgItem(settings, IDC_TABS)).left;  // left of the tabs
    const Picture strip = Capture(client);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const DWORD background = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
    const int width = client.right - client.left;
    int first = -1, last = -1;
    for (size_t i = 0; width > 0 && i < strip.size(); ++i) {
        if ((strip[i] & 0xffffff) == background) continue;
        const int row = static_cast<int>(i) / width;
        if (first < 0) first = row;
        last = row;
    }
    return first < 0 ? 0 : last - first + 1;
}

}  // namespace

// The system rescales the window and its controls when its monitor's DPI changes (and Wine never
// tells of one): what is the program's own follows the message.
TEST(Scale, TheSettingsWindowFollowsANewDpi) {
    Orvale orvale;
    orvale.WriteSettings("[options]\r\nx=60\r\ny=40\r\n[TaskBar+]\r\nen=0\r\n");
    ASSERT_TRUE(StartAt(orvale, 96));
    HWND settings = ShowSettings(orvale);
    ASSERT_NE(nullptr, settings);
    HWND lists[] = {GetDlgItem(settings, IDC_GLOBAL_BARS), GetDlgItem(settings, IDC_CONTEXT_BARS)};
    const LRESULT rowBefore = SendMessageW(lists[0], LB_GETITEMHEIGHT, 0, 0);
    int titleBefore = 0;
    WaitUntil([&] { return (titleBefore = TitleLength(settings)) > 20; });

    // Wine hands the message's rectangle to no other process; the program does not read it.
    SendMessageW(settings, WM_DPICHANGED, MAKEWPARAM(192, 192), 0);
    for (HWND list : lists) {
        EXPECT_GE(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 2 * rowBefore - 2)
            << "rows as tall as a check box at 200 %";
    }
    int title = 0;
    EXPECT_TRUE(WaitUntil([&] { return (title = TitleLength(settings)) > titleBefore * 3 / 2; }))
        << "the painted title at 200 %: " << title << " rows, " << titleBefore << " before";
    EXPECT_TRUE(WaitUntil([&] { return ControlsOutside(settings).empty(); }));
}
