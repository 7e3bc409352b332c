// Orvale at every scale: what the programs declare to the system, the sizes our icons carry,
// the starter bars' pictures, and the editors when the DPI of their monitor changes (which
// Wine never reports: the tests send the message themselves).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Harness.h"
#include "ModelBuilder.h"
#include "dialogs/BarPropertiesDialog.h"
#include "dialogs/ChangeIconDialog.h"
#include "model/BarModel.h"
#include "resources/resource.h"
#include "win/SizedIcons.h"

using namespace orvale;
using namespace testing_support;

namespace {

// The text of the first element `name` of `xml` and its attributes; empty when there is none.
struct Element {
    std::string attributes, text;
};
Element Find(const std::string& xml, const std::string& name) {
    for (size_t at = xml.find("<" + name); at != std::string::npos;
         at = xml.find("<" + name, at + 1)) {
        const size_t afterName = at + 1 + name.size();
        if (xml[afterName] != ' ' && xml[afterName] != '>') continue;
        const size_t open = xml.find('>', afterName);
        const size_t close = xml.find("</" + name + ">", open);
        if (open == std::string::npos || close == std::string::npos) return {};
        return {xml.substr(afterName, open - afterName), xml.substr(open + 1, close - open - 1)};
    }
    return {};
}

std::string ManifestOf(const std::string& program) {
    HMODULE module = LoadLibraryExA((BinDir() + "\\" + program).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return "";
    std::string text;
    if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        text.assign(static_cast<const char*>(LockResource(LoadResource(module, found))),
                    SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

// The sizes of the images of every icon of a program file, or of one icon file.
std::vector<std::set<int>> ResourceIconSizes(const std::string& program) {
    std::vector<std::set<int>> icons;
    HMODULE module = LoadLibraryExA((BinDir() + "\\" + program).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    auto each = [](HMODULE m, LPCSTR, LPSTR name, LONG_PTR lp) -> BOOL {
        HRSRC found = FindResourceA(m, name, MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(m, found)));
        std::set<int> sizes;
        const int count = bytes[4] | bytes[5] << 8;
        for (int i = 0; i < count; ++i) sizes.insert(bytes[6 + 14 * i] ? bytes[6 + 14 * i] : 256);
        reinterpret_cast<std::vector<std::set<int>>*>(lp)->push_back(sizes);
        return TRUE;
    };
    EnumResourceNamesA(module, MAKEINTRESOURCEA(14), each, reinterpret_cast<LONG_PTR>(&icons));
    FreeLibrary(module);
    return icons;
}
std::set<int> IconFileSizes(const std::string& path) {
    const std::string bytes = ReadFile(path);
    std::set<int> sizes;
    const size_t count = bytes.size() > 6 ? static_cast<unsigned char>(bytes[4]) : 0;
    for (size_t i = 0; i < count && 6 + 16 * i < bytes.size(); ++i) {
        const auto width = static_cast<unsigned char>(bytes[6 + 16 * i]);
        sizes.insert(width ? width : 256);
    }
    return sizes;
}

// The colours of an icon's picture, row by row.
std::vector<DWORD> Pixels(HICON icon) {
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return {};
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    std::vector<DWORD> pixels(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = -bitmap.bmHeight;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
}

}  // namespace

TEST(Scale, TheProgramsAskToBeAwareOfEachMonitorsScaleAndOfTheSystemsWhereThatIsAll) {
    for (const char* program : {"orvale.exe", "ovmacro.exe"}) {
        SCOPED_TRACE(program);
        const std::string manifest = ManifestOf(program);
        const Element settings = Find(Find(manifest, "application").text, "windowsSettings");
        const Element perMonitor = Find(settings.text, "dpiAwareness");
        const Element system = Find(settings.text, "dpiAware");
        EXPECT_EQ("PerMonitorV2", perMonitor.text);
        EXPECT_NE(std::string::npos,
                  perMonitor.attributes.find("http://schemas.microsoft.com/SMI/2016/"));
        EXPECT_EQ("true", system.text) << "older systems: aware of the system's DPI";
        EXPECT_NE(std::string::npos,
                  system.attributes.find("http://schemas.microsoft.com/SMI/2005/"));
    }
}

TEST(Scale, EveryIconOfOursHoldsImagesForEveryCommonScale) {
    const std::set<int> wanted = {16, 20, 24, 32, 40, 48};
    std::vector<std::pair<std::string, std::set<int>>> icons;
    for (const std::set<int>& sizes : ResourceIconSizes("orvale.exe")) {
        icons.emplace_back("a resource of orvale.exe", sizes);
    }
    WIN32_FIND_DATAA file;
    HANDLE found = FindFirstFileA((BinDir() + "\\*.ico").c_str(), &file);
    for (bool more = found != INVALID_HANDLE_VALUE; more; more = FindNextFileA(found, &file)) {
        icons.emplace_back(file.cFileName, IconFileSizes(BinDir() + "\\" + file.cFileName));
    }
    if (found != INVALID_HANDLE_VALUE) FindClose(found);
    ASSERT_GE(icons.size(), 20u);
    for (const auto& icon : icons) {
        for (int size : wanted) EXPECT_EQ(1u, icon.second.count(size)) << icon.first << " " << size;
    }
}

// The starter bars' key-sequence buttons (copy, paste, cut...) show pictures of their own, from
// icon files shipped beside the program, so that they can be told apart without hovering.
TEST(Scale, TheStarterBarsKeyButtonsEachShowAPictureOfTheirOwn) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_STARTER_SETTINGS), RT_RCDATA);
    ASSERT_NE(nullptr, found);
    TempDir folder;
    WriteFile(folder.File("starter.ini"),
              std::string(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                          SizeofResource(nullptr, found)));
    auto value = [&](const std::string& section, const char* key) {
        char text[256] = {};
        GetPrivateProfileStringA(section.c_str(), key, "", text, sizeof text,
                                 folder.File("starter.ini").c_str());
        return std::string(text);
    };
    std::set<std::vector<DWORD>> pictures;
    int keyButtons = 0;
    for (int bar = 1; bar <= 32; ++bar) {
        for (int item = 0;; ++item) {
            char section[32];
            std::snprintf(section, sizeof section, "menu+:%02d:%02d", bar, item);
            if (value(section, "type").empty() || value(section, "type") == "0") break;
            if (value(section, "dir") != "kseq:") continue;
            ++keyButtons;
            const std::wstring file = ResolveIconFile(win::Widen(value(section, "ipth")));
            HICON icon = win::LoadFileIcon(file, 0, 24);
            EXPECT_TRUE(pictures.insert(Pixels(icon)).second)
                << section << " looks like another key button: " << value(section, "ipth");
            if (icon) DestroyIcon(icon);
        }
    }
    EXPECT_EQ(8, keyButtons) << "copy, paste, cut, undo, select all; time and date, find, save";
    EXPECT_EQ(0u, pictures.count({})) << "every one found beside the program";
}

namespace {

int ImageSize(HIMAGELIST images) {
    int cx = 0, cy = 0;
    return ImageList_GetIconSize(images, &cx, &cy) ? cx : 0;
}

// Tells a dialog that its monitor's DPI is now `dpi`, as the system would.
void ChangeDpi(HWND dialog, UINT dpi) {
    RECT suggested = WindowRect(dialog);
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

}  // namespace

TEST(Scale, TheBarEditorsPicturesAreMadeAgainAtTheNewDpi) {
    TestSettings settings;
    ItemAttributes mail;
    mail.pth = L"mailto:someone@example.com";
    mail.ipth = L"email.ico";
    mail.tt = L"Mail";
    BarDef& bar = MakeBar(1, true, true, {101, 106, 110}, {mail});
    BarPropertiesDialog dialog(bar);
    RunDriven(dialog, "Bar Properties", [](HWND d) {
        HWND list = GetDlgItem(d, IDC_BAR_ITEMS);
        ASSERT_EQ(3, ListView_GetItemCount(list));
        for (const auto& step : {std::make_pair(192u, 32), std::make_pair(144u, 24)}) {
            ChangeDpi(d, step.first);
            SCOPED_TRACE(step.first);
            EXPECT_EQ(step.second, ImageSize(ListView_GetImageList(list, LVSIL_SMALL)));
            EXPECT_EQ(step.second, ImageSize(ListView_GetImageList(list, LVSIL_NORMAL)));
            HIMAGELIST images = ListView_GetImageList(list, LVSIL_SMALL);
            for (int row = 0; row < 3; ++row) {
                LVITEMW item = {};
                item.mask = LVIF_IMAGE;
                item.iItem = row;
                ListView_GetItem(list, &item);
                EXPECT_GE(item.iImage, 0) << "row " << row << " keeps a picture";
                EXPECT_LT(item.iImage, ImageList_GetImageCount(images));
            }
        }
        Press(d, IDCANCEL);
    });
}

TEST(Scale, TheChangeIconListsCellsAndIconsGrowWithTheDpi) {
    ChangeIconDialog dialog(win::Widen(BinDir() + "\\orvale.exe"), 1);
    RunDriven(dialog, "Change Icon", [](HWND d) {
        HWND list = GetDlgItem(d, IDC_ICON_LIST);
        const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        const LRESULT before = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
        EXPECT_GE(before, GetSystemMetrics(SM_CYICON)) << "a large icon fits a cell";
        ChangeDpi(d, 192);
        const LRESULT after = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
        EXPECT_GE(after, 64) << "a large icon of 200 % fits a cell";
        EXPECT_LT(after, 2 * before + 8);
        EXPECT_EQ(count, SendMessageW(list, LB_GETCOUNT, 0, 0));
        EXPECT_EQ(1, SendMessageW(list, LB_GETCURSEL, 0, 0)) << "the choice stays";
        HICON preview = reinterpret_cast<HICON>(
            SendDlgItemMessageW(d, IDC_ICON_PREVIEW, STM_GETICON, 0, 0));
        EXPECT_EQ(64 * 64, Pixels(preview).size()) << "the preview too";
        Press(d, IDCANCEL);
    });
}
