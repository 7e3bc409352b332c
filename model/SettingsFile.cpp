#include "model/SettingsFile.h"

#include <windows.h>

#include <cwchar>
#include <cstdlib>

#include "model/BarModel.h"
#include "model/WindowList.h"
#include "win/ProgramFolder.h"

namespace orvale {
namespace {

std::wstring& FolderOverride() {
    static std::wstring folder;
    return folder;
}

// The settings as held in memory, read from the file on first use.
struct Settings {
    SettingsDocument document;
    bool open = false;
};

Settings& TheSettings() {
    static Settings settings;
    return settings;
}

SettingsDocument& Document() {
    Settings& settings = TheSettings();
    if (!settings.open) openSettings();
    return settings.document;
}

std::wstring Format(const wchar_t* format, int a, int b = 0) {
    wchar_t buffer[64];
    std::swprintf(buffer, sizeof buffer / sizeof buffer[0], format, a, b);
    return buffer;
}

// The value that ends a window list in the file.
const wchar_t* const kListEnd = L".";


void AppendText(BarDef& bar, NodeTag tag, const std::wstring& text) {
    BarNode* node = appendNode(bar);
    node->tag = tag;
    node->text = text;
}

void AppendNumber(BarDef& bar, NodeTag tag, int32_t number) {
    BarNode* node = appendNode(bar);
    node->tag = tag;
    node->number = number;
}

void LoadItems(BarDef& bar) {
    for (int position = 0;; ++position) {
        std::wstring section = itemSection(bar.number, position);
        int32_t type = readInt(section, L"type");
        if (type == 0) break;
        AppendNumber(bar, NodeTag::Type, type);
        if (static_cast<ItemType>(type) != ItemType::Attributed) continue;
        AppendText(bar, NodeTag::Wnd, readString(section, L"wnd"));
        AppendText(bar, NodeTag::Pth, readString(section, L"pth"));
        AppendText(bar, NodeTag::Ipth, readString(section, L"ipth"));
        AppendNumber(bar, NodeTag::Inum, readInt(section, L"inum"));
        AppendText(bar, NodeTag::Par, readString(section, L"par"));
        AppendText(bar, NodeTag::Dir, readString(section, L"dir"));
        AppendText(bar, NodeTag::Tt, readString(section, L"tt"));
    }
}

void LoadWindowList(int index) {
    WindowList& list = windowLists[index];
    list.entries.clear();
    std::wstring section = listSection(index);
    // A list with no "." entry ends at its first missing key.
    std::wstring entry;
    for (int j = 0; Document().Find(section, std::to_wstring(j), entry) && entry != kListEnd;
         ++j) {
        list.entries.push_back(entry);
    }
    list.mode = readInt(section, L"inc");
}

void SaveWindowList(int index) {
    const WindowList& list = windowLists[index];
    std::wstring section = listSection(index);
    int count = 0;
    for (const std::wstring& entry : list.entries) {
        // An entry "." would read back as the end of the list and lose every entry after
        // it; it cannot be stored, so it is left out and the others keep their place.
        if (entry == kListEnd) continue;
        writeString(section, std::to_wstring(count++), entry);
    }
    writeString(section, std::to_wstring(count), kListEnd);
    writeInt(section, L"inc", list.mode);
}

}  // namespace

void SetSettingsFolderForTesting(const std::wstring& folder) {
    FolderOverride() = folder;
    TheSettings().open = false;
}

SettingsDocument::LoadStatus openSettings(FileError* error) {
    Settings& settings = TheSettings();
    settings.open = true;
    return settings.document.Load(settingsPath(), error);
}

FileError saveSettings() { return Document().Save(settingsPath()); }

std::wstring settingsPath(const std::wstring& fileName) {
    if (!FolderOverride().empty()) return FolderOverride() + L"\\" + fileName;
    return win::BesideProgram(fileName);
}

int32_t ParseInt(const std::wstring& text) {
    // Digits past the range of an int would make atoi undefined; clamp them instead.
    long long value = std::wcstoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t readInt(const std::wstring& section, const std::wstring& key) {
    return ParseInt(Document().Read(section, key, L"0"));
}

std::wstring readString(const std::wstring& section, const std::wstring& key) {
    return Document().Read(section, key, L"");
}

void writeInt(const std::wstring& section, const std::wstring& key, int32_t value) {
    writeString(section, key, Format(L"%d", value));
}

// The profile API trims blanks around a value and strips one pair of surrounding quotes when
// it reads, so "Regards " or "\"C:\\My App\\x.exe\"" would come back changed. Such values are
// written inside one more pair of double quotes, which the reader removes again; every other
// value is written unchanged. A line break would end the line and start a line of its own
// (another key, even another section) in the file, so each one is written as a blank.
std::wstring ProtectValue(const std::wstring& value) {
    std::wstring text = value;
    for (wchar_t& c : text) {
        if (c == L'\r' || c == L'\n') c = L' ';
    }
    if (text.empty()) return text;
    // What the reader trims: white space, and the DOS end-of-file character.
    auto blank = [](wchar_t c) {
        return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f' || c == L'\x1a';
    };
    const wchar_t first = text.front(), last = text.back();
    bool quoted = text.size() >= 2 && first == last && (first == L'"' || first == L'\'');
    if (blank(first) || blank(last) || quoted) return L'"' + text + L'"';
    return text;
}

void writeString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    Document().Write(section, key, ProtectValue(value));
}

std::wstring itemSection(int barNumber, int position) {
    return Format(L"menu+:%02d:%02d", barNumber, position);
}
std::wstring barSection(int barNumber) { return Format(L"Menu+%02d", barNumber); }
std::wstring listSection(int listIndex) { return Format(L"wndctx%d", listIndex); }

void loadModel() {
    BarDef& taskBar = barDefs[0];
    newBar(taskBar, 0);
    taskBar.enabled = readInt(L"TaskBar+", L"en") != 0 ? 1 : 0;
    AppendNumber(taskBar, NodeTag::Type, readInt(L"TaskBar+", L"horiz"));

    for (int n = 1; n <= kMenuBarCount; ++n) {
        BarDef& bar = barDefs[n];
        std::wstring section = barSection(n);
        newBar(bar, n);
        bar.enabled = readInt(section, L"en") != 0 ? 1 : 0;
        BarNode* header = appendNode(bar);
        header->tag = NodeTag::Header;
        header->number = readInt(section, L"horiz");
        header->text = readString(section, L"name");
        LoadItems(bar);
    }

    for (int k = 0; k < kWindowListCount; ++k) LoadWindowList(k);
}

namespace {

void WriteBarItems(int barNumber) {
    int position = 0;
    for (const BarItem& item : items(barDefs[barNumber])) {
        std::wstring section = itemSection(barNumber, position++);
        writeInt(section, L"type", item.Node()->number);
        if (!item.IsAttributed()) continue;
        writeString(section, L"wnd", item.Wnd());
        writeString(section, L"pth", item.Pth());
        writeString(section, L"ipth", item.Ipth());
        writeInt(section, L"inum", item.Inum());
        writeString(section, L"par", item.Par());
        writeString(section, L"dir", item.Dir());
        writeString(section, L"tt", item.Tt());
    }
    writeInt(itemSection(barNumber, position), L"type", 0);
}

}  // namespace

FileError saveBarItems(int barNumber) {
    if (barNumber < 1 || barNumber > kMenuBarCount) return FileError();
    WriteBarItems(barNumber);
    return saveSettings();
}

FileError saveModel() {
    const BarDef& taskBar = barDefs[0];
    writeInt(L"TaskBar+", L"en", taskBar.enabled ? 1 : 0);
    writeInt(L"TaskBar+", L"horiz", taskBar.nodes ? taskBar.nodes->number : 0);

    for (int n = 1; n <= kMenuBarCount; ++n) {
        const BarDef& bar = barDefs[n];
        WriteBarItems(n);
        std::wstring section = barSection(n);
        writeInt(section, L"en", bar.enabled ? 1 : 0);
        writeInt(section, L"horiz", bar.Orientation());
        writeString(section, L"name", bar.Name());
    }

    for (int k = 0; k < kWindowListCount; ++k) SaveWindowList(k);
    return saveSettings();
}

}  // namespace orvale
