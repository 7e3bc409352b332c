// "ov32data.ini" beside the program: the access helpers, the model loader and the savers.
// The file is read once into a SettingsDocument; reads and writes go to that document, and
// each occasion that stores settings (exit, a confirmed bar editor, a window move...) ends with
// one save of the whole file, which either succeeds or leaves the old file and says why.
#pragma once

#include <cstdint>
#include <string>

#include "model/SettingsDocument.h"

namespace orvale {

constexpr const wchar_t* kSettingsFileName = L"ov32data.ini";

// The folder of the program's executable, a backslash and `fileName`.
std::wstring settingsPath(const std::wstring& fileName = kSettingsFileName);

// Reads like atoi: leading blanks, a sign, digits up to the first other character; 0 when
// missing or not a number. Values are read as the profile functions read them: trimmed, one
// pair of quotes stripped, 511 characters at most.
int32_t readInt(const std::wstring& section, const std::wstring& key);
// Reads a number the way atoi does, with values past the range of an int clamped to it.
int32_t ParseInt(const std::wstring& text);
std::wstring readString(const std::wstring& section, const std::wstring& key);
void writeInt(const std::wstring& section, const std::wstring& key, int32_t value);
// Writes the text so that it reads back unchanged (see ProtectValue). Nothing reaches the file
// before the next save.
void writeString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
// The text written for `value`: unchanged, or inside double quotes when the profile reader
// would otherwise trim blanks or strip quotes from it.
std::wstring ProtectValue(const std::wstring& value);

// "menu+:%02d:%02d" for a bar number and an item position.
std::wstring itemSection(int barNumber, int position);
std::wstring barSection(int barNumber);    // "Menu+%02d"
std::wstring listSection(int listIndex);   // "wndctx%d"

// Reads the settings file into memory (at start-up; the helpers open it on first use too).
// Unreadable means it exists but could not be read: it is then never saved over.
SettingsDocument::LoadStatus openSettings(FileError* error = nullptr);
// Writes the settings held in memory to the file, whole, in one step.
FileError saveSettings();

// Builds barDefs and windowLists from the settings.
void loadModel();
// Writes the task bar, all 32 bars with their items and all 32 window lists, and saves.
FileError saveModel();
// Writes the item sections of one menu bar, ending with a "type" 0 terminator, and saves.
FileError saveBarItems(int barNumber);

// Tests point the settings at a folder of their own instead of the program's folder; the
// settings are read again from there on next use.
void SetSettingsFolderForTesting(const std::wstring& folder);

}  // namespace orvale
