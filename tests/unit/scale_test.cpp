// Orvale at every scale: what the programs declare to the system, the sizes our icons carry,
// the starter bars' pictures, and the editors when the DPI of their monitor changes (which
// Wine never reports: the tests send the message themselves).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>

#include "DialogDriver.h"
#include "ModelBuilder.h"
#include "dialogs/BarPropertiesDialog.h"
#include "dialogs/ChangeIconDialog.h"
#include "resources/resource.h"

using namespace orvale;
using namespace testing_support;

namespace {

// A resource of a program file of the build, as text.
std::string ResourceOf(const std::string& program, LPCSTR name, LPCSTR type) {
    HMODULE module = LoadLibraryExA((BinDir() + "\\" + program).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceA(module, name, type) : nullptr;
    std::string text;
    if (found) {
        text.assign(static_cast<const char*>(LockResource(LoadResource(module, found))),
                    SizeofResource(module, found));
    }
    if (module) FreeLibrary(module);
    return text;
}

// The widths of the images of an icon directory (a file's or a resource's): a count at 4, and
// entries of `entrySize` bytes from 6 on, each starting with its width.
std::set<int> Sizes(const std::string& directory, size_t entrySize) {
    std::set<int> sizes;
    const size_t count = directory.size() > 6 ? static_cast<unsigned char>(directory[4]) : 0;
    for (size_t i = 0; i < count && 6 + (i + 1) * entrySize <= directory.size(); ++i) {
        sizes.insert(static_cast<unsigned char>(directory[6 + i * entrySize]));
    }
    return sizes;
}

}  // namespace

TEST(Scale, TheProgramsAskToBeAwareOfEachMonitorsScaleAndOfTheSystemsWhereThatIsAll) {
    for (const char* program : {"orvale.exe", "ovmacro.exe"}) {
        const std::string manifest =
            ResourceOf(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
        for (const char* declared :
             {"<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
              "PerMonitorV2</dpiAwareness>",
              "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true"
              "</dpiAware>"}) {
            EXPECT_NE(std::string::npos, manifest.find(declared)) << program << ": " << declared;
        }
    }
}

TEST(Scale, EveryIconOfOursHoldsImagesForEveryCommonScale) {
    const std::set<int> wanted = {16, 20, 24, 32, 40, 48};
    EXPECT_EQ(wanted, Sizes(ResourceOf("orvale.exe", MAKEINTRESOURCEA(IDI_ORVALE),
                                       MAKEINTRESOURCEA(14)), 14));  // RT_GROUP_ICON
    WIN32_FIND_DATAA file;
    HANDLE found = FindFirstFileA((BinDir() + "\\*.ico").c_str(), &file);
    ASSERT_NE(INVALID_HANDLE_VALUE, found);
    do {
        EXPECT_EQ(wanted, Sizes(ReadFile(BinDir() + "\\" + file.cFileName), 16)) << file.cFileName;
    } while (FindNextFileA(found, &file));
    FindClose(found);
}

// The starter bars' key-sequence buttons (copy, paste, cut...) show pictures of their own, from
// icon files shipped beside the program, so that they can be told apart without hovering.
TEST(Scale, TheStarterBarsKeyButtonsEachShowAPictureOfTheirOwn) {
    const std::string starter =
        ResourceOf("orvale.exe", MAKEINTRESOURCEA(IDR_STARTER_SETTINGS), MAKEINTRESOURCEA(10));
    ASSERT_FALSE(starter.empty());
    std::set<std::string> pictures;
    size_t keyButtons = 0;
    for (size_t at = starter.find("ipth="); at != std::string::npos;
         at = starter.find("ipth=", at + 1)) {
        const size_t end = starter.find_first_of("\r\n", at);
        const std::string file = starter.substr(at + 5, end - at - 5);
        if (file == "default") continue;
        ++keyButtons;
        const std::string picture = ReadFile(BinDir() + "\\" + file);
        EXPECT_FALSE(picture.empty()) << file << " ships beside the program";
        EXPECT_TRUE(pictures.insert(picture).second) << file << " looks like another button";
    }
    EXPECT_EQ(8u, keyButtons) << "copy, paste, cut, undo, select all; time and date, find, save";
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
    mail.ipth = L"email.ico";
    BarPropertiesDialog dialog(MakeBar(1, true, true, {101, 106, 110}, {mail}));
    RunDriven(dialog, "Bar Properties", [](HWND d) {
        HWND list = GetDlgItem(d, IDC_BAR_ITEMS);
        ChangeDpi(d, 192);
        for (int kind : {LVSIL_SMALL, LVSIL_NORMAL}) {
            EXPECT_EQ(32, ImageSize(ListView_GetImageList(list, kind)));
        }
        for (int row = 0; row < 3; ++row) {
            LVITEMW item = {};
            item.mask = LVIF_IMAGE;
            item.iItem = row;
            ListView_GetItem(list, &item);
            EXPECT_EQ(row, item.iImage) << "every row has its picture again";
        }
        Press(d, IDCANCEL);
    });
}

TEST(Scale, TheChangeIconListsCellsGrowWithTheDpi) {
    ChangeIconDialog dialog(win::Widen(BinDir() + "\\orvale.exe"), 1);
    RunDriven(dialog, "Change Icon", [](HWND d) {
        HWND list = GetDlgItem(d, IDC_ICON_LIST);
        const LRESULT before = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
        EXPECT_GE(before, GetSystemMetrics(SM_CYICON)) << "a large icon fits a cell";
        ChangeDpi(d, 192);
        const LRESULT after = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
        EXPECT_GE(after, 64) << "a large icon of 200 % fits a cell";
        EXPECT_LT(after, 2 * before + 8);
        EXPECT_EQ(1, SendMessageW(list, LB_GETCURSEL, 0, 0)) << "the choice stays";
        Press(d, IDCANCEL);
    });
}
