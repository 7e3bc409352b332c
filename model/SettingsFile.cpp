#include "model/SettingsFile.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "model/BarModel.h"
#include "model/WindowList.h"

namespace orvale {
namespace {

std::string& FolderOverride() {
    static std::string folder;
    return folder;
}

std::string Format(const char* format, int a, int b = 0) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

// The value that ends a window list in the file.
const char* const kListEnd = ".";

// A window list with no "." entry ends at its first missing key; this default marks
// "missing": no stored value can hold a line break, and it ends in a character that no
// reader trims from a default.
const char* const kMissing = "\n(missing)";

std::string ReadRaw(const std::string& section, const std::string& key, const char* fallback) {
    char buffer[512] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback, buffer, sizeof buffer,
                             settingsPath().c_str());
    return buffer;
}

constexpr int32_t kAttributed = static_cast<int32_t>(ItemType::Attributed);

void AppendText(BarDef& bar, NodeTag tag, const std::string& text) {
    BarNode* node = appendNode(bar);
    node->tag = static_cast<int32_t>(tag);
    node->text = text;
}

void AppendNumber(BarDef& bar, NodeTag tag, int32_t number) {
    BarNode* node = appendNode(bar);
    node->tag = static_cast<int32_t>(tag);
    node->number = number;
}

void LoadItems(BarDef& bar) {
    for (int position = 0;; ++position) {
        std::string section = itemSection(bar.number, position);
        int32_t type = readInt(section, "type");
        if (type == 0) break;
        AppendNumber(bar, NodeTag::Type, type);
        if (type != kAttributed) continue;
        AppendText(bar, NodeTag::Wnd, readString(section, "wnd"));
        AppendText(bar, NodeTag::Pth, readString(section, "pth"));
        AppendText(bar, NodeTag::Ipth, readString(section, "ipth"));
        AppendNumber(bar, NodeTag::Inum, readInt(section, "inum"));
        AppendText(bar, NodeTag::Par, readString(section, "par"));
        AppendText(bar, NodeTag::Dir, readString(section, "dir"));
        AppendText(bar, NodeTag::Tt, readString(section, "tt"));
    }
}

void LoadWindowList(int index) {
    WindowList& list = windowLists[index];
    list.entries.clear();
    list.rememberedWindow = nullptr;
    std::string section = listSection(index);
    for (int j = 0;; ++j) {
        std::string entry = ReadRaw(section, std::to_string(j), kMissing);
        if (entry == kListEnd || entry == kMissing) break;
        list.entries.push_back(entry);
    }
    list.mode = readInt(section, "inc");
}

void SaveWindowList(int index) {
    const WindowList& list = windowLists[index];
    std::string section = listSection(index);
    int count = 0;
    for (const std::string& entry : list.entries) {
        // An entry "." would read back as the end of the list and lose every entry after
        // it; it cannot be stored, so it is left out and the others keep their place.
        if (entry == kListEnd) continue;
        writeString(section, std::to_string(count++), entry);
    }
    writeString(section, std::to_string(count), kListEnd);
    writeInt(section, "inc", list.mode);
}

}  // namespace

void SetSettingsFolderForTesting(const std::string& folder) { FolderOverride() = folder; }

std::string settingsPath(const std::string& fileName) {
    if (!FolderOverride().empty()) return FolderOverride() + "\\" + fileName;
    char module[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path(module, length <= MAX_PATH ? length : 0);
    return path.substr(0, path.find_last_of('\\')) + "\\" + fileName;
}

int32_t ParseInt(const std::string& text) {
    // Digits past the range of an int would make atoi undefined; clamp them instead.
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t readInt(const std::string& section, const std::string& key) {
    return ParseInt(ReadRaw(section, key, "0"));
}

std::string readString(const std::string& section, const std::string& key) {
    return ReadRaw(section, key, "");
}

void writeInt(const std::string& section, const std::string& key, int32_t value) {
    writeString(section, key, Format("%d", value));
}

// The profile API trims blanks around a value and strips one pair of surrounding quotes when
// it reads, so "Regards " or "\"C:\\My App\\x.exe\"" would come back changed. Such values are
// written inside one more pair of double quotes, which the reader removes again; every other
// value is written unchanged. A line break would end the line and start a line of its own
// (another key, even another section) in the file, so each one is written as a blank.
std::string ProtectValue(const std::string& value) {
    std::string text = value;
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    if (text.empty()) return text;
    // What the reader trims: white space, and the DOS end-of-file character.
    auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
    };
    const char first = text.front(), last = text.back();
    bool quoted = text.size() >= 2 && first == last && (first == '"' || first == '\'');
    if (blank(first) || blank(last) || quoted) return '"' + text + '"';
    return text;
}

void writeString(const std::string& section, const std::string& key, const std::string& value) {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), ProtectValue(value).c_str(),
                               settingsPath().c_str());
}

std::string itemSection(int barNumber, int position) {
    return Format("menu+:%02d:%02d", barNumber, position);
}
std::string barSection(int barNumber) { return Format("Menu+%02d", barNumber); }
std::string listSection(int listIndex) { return Format("wndctx%d", listIndex); }

void loadModel() {
    BarDef& taskBar = barDefs[0];
    newBar(taskBar, 0);
    taskBar.enabled = readInt("TaskBar+", "en") != 0 ? 1 : 0;
    AppendNumber(taskBar, NodeTag::Type, readInt("TaskBar+", "horiz"));

    for (int n = 1; n <= kMenuBarCount; ++n) {
        BarDef& bar = barDefs[n];
        std::string section = barSection(n);
        newBar(bar, n);
        bar.enabled = readInt(section, "en") != 0 ? 1 : 0;
        BarNode* header = appendNode(bar);
        header->tag = static_cast<int32_t>(NodeTag::Header);
        header->number = readInt(section, "horiz");
        header->text = readString(section, "name");
        LoadItems(bar);
    }

    for (int k = 0; k < kWindowListCount; ++k) LoadWindowList(k);
}

void saveBarItems(int barNumber) {
    if (barNumber < 1 || barNumber > kMenuBarCount) return;
    int position = 0;
    for (const BarItem& item : items(barDefs[barNumber])) {
        std::string section = itemSection(barNumber, position++);
        writeInt(section, "type", item.Type());
        if (!item.IsAttributed()) continue;
        writeString(section, "wnd", item.Wnd());
        writeString(section, "pth", item.Pth());
        writeString(section, "ipth", item.Ipth());
        writeInt(section, "inum", item.Inum());
        writeString(section, "par", item.Par());
        writeString(section, "dir", item.Dir());
        writeString(section, "tt", item.Tt());
    }
    writeInt(itemSection(barNumber, position), "type", 0);
}

void saveModel() {
    const BarDef& taskBar = barDefs[0];
    writeInt("TaskBar+", "en", taskBar.enabled ? 1 : 0);
    writeInt("TaskBar+", "horiz", taskBar.nodes ? taskBar.nodes->number : 0);

    for (int n = 1; n <= kMenuBarCount; ++n) {
        const BarDef& bar = barDefs[n];
        saveBarItems(n);
        std::string section = barSection(n);
        writeInt(section, "en", bar.enabled ? 1 : 0);
        writeInt(section, "horiz", bar.Orientation());
        writeString(section, "name", bar.Name());
    }

    for (int k = 0; k < kWindowListCount; ++k) SaveWindowList(k);
}

}  // namespace orvale
