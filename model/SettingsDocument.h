// A profile (INI) file held in memory: read once, looked up like the profile functions do,
// edited in place and written back whole in one step.
//
// Reading follows GetPrivateProfileString: the first section and the first key of a name win,
// names match without regard to the case of A-Z, blanks around names and values are trimmed,
// one pair of surrounding quotes is stripped and values are cut to 511 characters (a quoted
// value of exactly 511 characters comes back whole, which the profile function does not do).
// Lines the program does not know (other sections, comments, junk) are kept byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/SafeFile.h"
#include "model/TextEncoding.h"

namespace orvale {

class SettingsDocument {
public:
    enum class LoadStatus { Loaded, Missing, Unreadable };

    // Reads the file. Missing leaves an empty document; Unreadable (the file exists but cannot
    // be read) leaves an empty document too, and Save then refuses to replace that file (with
    // the read's error, marked lasting) until a later Load of it reads it (or finds it gone), so
    // defaults never overwrite settings that were not read.
    LoadStatus Load(const std::wstring& path, FileError* error = nullptr);

    // The value as the profile functions read it; false when the section or key is missing
    // (a key line without "=" counts as missing).
    bool Find(const std::wstring& section, const std::wstring& key, std::wstring& value) const;
    std::wstring Read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& fallback) const;

    // Sets the value of the first matching key of the first matching section, else adds the key
    // at the end of that section, else adds the section at the end of the file. `text` is
    // written as given, cut at a NUL, with line breaks turned into blanks; the caller protects
    // blanks and quotes it wants read back. A value that reads back the same changes nothing.
    void Write(const std::wstring& section, const std::wstring& key, const std::wstring& text);

    // True when a Write changed the document since it was loaded or saved.
    bool Modified() const { return modified_; }
    // The encoding of the file as loaded or last saved.
    TextEncoding Encoding() const { return encoding_; }

    // Writes the whole document in place of `path` in one step (ReplaceWholeFile), keeping the
    // previous file as `path` + ".bak". An Ansi document whose new text does not fit the code
    // page is written as UTF-16LE. On failure the file and this document stay as they were, so
    // the save can be tried again.
    FileError Save(const std::wstring& path);

private:
    static constexpr uint32_t kNoRaw = UINT32_MAX;

    struct Line {
        std::wstring text;  // without its line end
        uint8_t end = 0;    // none, CR LF, LF or CR
        // The bytes of the line's text in raw_ while it is unchanged (line ends are rewritten
        // as they were read).
        uint32_t rawBegin = kNoRaw;
        uint32_t rawEnd = kNoRaw;
    };
    // The lines from one section header to the next; section 0 holds the lines before the
    // first header and has no header line.
    struct Section {
        std::vector<Line> lines;
        std::unordered_map<std::wstring, uint32_t> keys;  // folded name -> first key line
    };

    void Clear(TextEncoding encoding);
    void Parse(std::string bytes);
    void AddLine(Line line);
    void ChooseLineEnd();
    Section* FindSection(const std::wstring& name);
    const Section* FindSection(const std::wstring& name) const;
    uint32_t AppendLine(Section& section, std::wstring text);
    bool NewTextFitsAnsi() const;
    std::string Encode(TextEncoding target, std::vector<uint32_t>& offsets) const;

    std::vector<Section> sections_;
    std::unordered_map<std::wstring, uint32_t> sectionIndex_;  // folded name -> first section
    std::string raw_;                                          // the file as loaded or saved
    TextEncoding encoding_ = TextEncoding::Ansi;
    uint8_t newLineEnd_ = 1;  // what new lines end with: CR LF unless the file says otherwise
    bool modified_ = false;
    std::wstring unreadPath_;  // a file that exists but could not be read
    FileError unreadError_;
};

}  // namespace orvale
