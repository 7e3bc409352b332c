#include "model/SettingsDocument.h"

#include <algorithm>

namespace orvale {
namespace {

// The program reads values into 512 characters, so at most 511 come back.
constexpr size_t kValueLimit = 511;
// A settings file is a few hundred kilobytes; anything this big is not one.
constexpr size_t kMaxFileSize = size_t{256} << 20;
constexpr size_t kNone = std::wstring::npos;

size_t& WriteLimit() {
    static size_t limit = SIZE_MAX;
    return limit;
}

// What the profile functions trim around names and values: ASCII white space and the DOS
// end-of-file character, nothing else (not even a no-break space).
bool IsBlank(wchar_t c) { return (c >= 9 && c <= 13) || c == 0x1a || c == L' '; }

struct Span {
    size_t begin, end;
};

Span Trimmed(const std::wstring& text, size_t begin, size_t end) {
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return {begin, end};
}

// How the profile functions see one line: blank, a section header "[name]" (up to the last
// "]", anything after it ignored) or a key, with or without "=" and a value.
struct LineShape {
    enum Kind { Blank, Header, Key } kind = Blank;
    Span name = {0, 0};
    Span value = {kNone, kNone};  // key lines with "=" only
};

LineShape ShapeOf(const std::wstring& text) {
    LineShape shape;
    const Span line = Trimmed(text, 0, text.size());
    if (line.begin == line.end) return shape;
    if (text[line.begin] == L'[') {
        size_t close = text.rfind(L']', line.end - 1);
        if (close != kNone && close > line.begin) {
            shape.kind = LineShape::Header;
            shape.name = Trimmed(text, line.begin + 1, close);
            return shape;
        }
    }
    shape.kind = LineShape::Key;
    size_t equals = text.find(L'=', line.begin);
    if (equals == kNone || equals >= line.end) {
        shape.name = line;
        return shape;
    }
    shape.name = Trimmed(text, line.begin, equals);
    shape.value = Trimmed(text, equals + 1, line.end);
    return shape;
}

// Names are C strings to the profile functions: they end at a NUL, and only A-Z fold.
std::wstring Folded(const std::wstring& text, Span span) {
    std::wstring name = text.substr(span.begin, span.end - span.begin);
    name.resize(std::min(name.size(), name.find(L'\0')));
    for (wchar_t& c : name) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
    }
    return name;
}

// A name as given by the caller: cut at a NUL and trimmed, as the profile functions take it.
std::wstring Requested(const std::wstring& name) {
    const std::wstring cut = name.substr(0, name.find(L'\0'));
    const Span span = Trimmed(cut, 0, cut.size());
    return cut.substr(span.begin, span.end - span.begin);
}

std::wstring LookupKey(const std::wstring& name) {
    std::wstring cut = Requested(name);
    return Folded(cut, {0, cut.size()});
}

// The value as the profile functions return it into 512 characters: up to a NUL, one pair of
// surrounding quotes (single or double) stripped, at most 511 characters.
std::wstring ProfileValue(const std::wstring& text, Span span) {
    std::wstring value = text.substr(span.begin, span.end - span.begin);
    value.resize(std::min(value.size(), value.find(L'\0')));
    if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0]) {
        // The profile function drops the last character of a quoted value of exactly 511
        // characters; such values are written quoted to keep their blanks, so they come back
        // whole here.
        return value.substr(1, std::min(value.size() - 2, kValueLimit));
    }
    value.resize(std::min(value.size(), kValueLimit));
    return value;
}

// One line of a text: its characters [begin, stop), its line end [stop, next).
struct LineSpan {
    size_t begin, stop, next;
};

// A line's end, kept so that an unchanged line is written back as it was read.
enum LineEnd : uint8_t { kNoEnd, kCrLf, kLf, kCr };
const char* const kLineEndText[] = {"", "\r\n", "\n", "\r"};

template <typename Text>
uint8_t LineEndOf(const Text& text, const LineSpan& span) {
    if (span.next == span.stop) return kNoEnd;
    if (span.next - span.stop == 2) return kCrLf;
    return text[span.stop] == '\n' ? kLf : kCr;
}

// Splits at CR LF, LF or CR. The profile functions end a line at the first CR or LF and skip
// the ones after it; the empty lines that leaves here read the same.
template <typename Text>
std::vector<LineSpan> SplitLines(const Text& text) {
    std::vector<LineSpan> lines;
    for (size_t pos = 0; pos < text.size();) {
        size_t stop = pos;
        while (stop < text.size() && text[stop] != '\r' && text[stop] != '\n') ++stop;
        size_t next = stop;
        if (next < text.size())
            next += text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n' ? 2 : 1;
        lines.push_back({pos, stop, next});
        pos = next;
    }
    return lines;
}

bool IsAscii(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

std::wstring Decode(UINT codePage, const char* bytes, size_t length) {
    if (std::all_of(bytes, bytes + length, [](char c) { return (c & 0x80) == 0; })) {
        return std::wstring(bytes, bytes + length);
    }
    int count = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(length), nullptr, 0);
    std::wstring text(static_cast<size_t>(std::max(count, 0)), L'\0');
    if (count > 0)
        MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(length), &text[0], count);
    return text;
}

// True when every character has its own equal in the system's code page.
bool FitsAnsi(const std::wstring& text) {
    if (IsAscii(text) || GetACP() == CP_UTF8) return true;
    BOOL usedDefault = FALSE;
    int count =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                            static_cast<int>(text.size()), nullptr, 0, nullptr, &usedDefault);
    return count > 0 && !usedDefault;
}

void AppendEncoded(std::string& out, const std::wstring& text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf16LE) {
        for (wchar_t c : text) {
            out.push_back(static_cast<char>(c & 0xFF));
            out.push_back(static_cast<char>((c >> 8) & 0xFF));
        }
    } else if (IsAscii(text)) {
        for (wchar_t c : text) out.push_back(static_cast<char>(c));
    } else {
        UINT codePage = encoding == TextEncoding::Utf8 ? CP_UTF8 : CP_ACP;
        int length = static_cast<int>(text.size());
        int count =
            WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
        if (count <= 0) return;
        size_t at = out.size();
        out.resize(at + static_cast<size_t>(count));
        WideCharToMultiByte(codePage, 0, text.data(), length, &out[at], count, nullptr, nullptr);
    }
}

const char kUtf8Mark[] = "\xEF\xBB\xBF";
const char kUtf16Mark[] = "\xFF\xFE";

FileError ErrorOf(DWORD code) {
    FileError error;
    error.code = code;
    wchar_t text[512] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, 512, nullptr);
    error.reason.assign(text, length);
    error.reason.resize(Trimmed(error.reason, 0, error.reason.size()).end);
    if (error.reason.empty()) error.reason = L"System error " + std::to_wstring(code) + L".";
    return error;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

DWORD ReadWhole(HANDLE file, std::string& bytes) {
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size)) return GetLastError();
    if (static_cast<unsigned long long>(size.QuadPart) > kMaxFileSize) return ERROR_FILE_TOO_LARGE;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file, &bytes[done], static_cast<DWORD>(bytes.size() - done), &read,
                      nullptr)) {
            return GetLastError();
        }
        if (read == 0) break;  // the file shrank meanwhile
        done += read;
    }
    bytes.resize(done);
    return 0;
}

// Replacing a file that another program holds open without sharing fails, as does replacing
// a read-only file on Windows (though not always under Wine): find out before anything is
// written, and in the system's own words.
FileError CheckReplaceable(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};  // a missing folder shows later
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        return ErrorOf(ERROR_ACCESS_DENIED);
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ErrorOf(GetLastError());
    CloseHandle(file);
    return {};
}

// Writes and flushes the whole file, so that it is complete on disk before it replaces the
// settings file.
FileError WriteWhole(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ErrorOf(GetLastError());
    const size_t limit = std::min(bytes.size(), WriteLimit());
    size_t done = 0;
    DWORD code = 0;
    while (code == 0 && done < limit) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(limit - done, size_t{1} << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            code = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
        }
        done += written;
    }
    if (code == 0 && done < bytes.size()) code = ERROR_DISK_FULL;
    if (code == 0 && !FlushFileBuffers(file)) code = GetLastError();
    CloseHandle(file);
    if (code != 0) DeleteFileW(path.c_str());
    return code ? ErrorOf(code) : FileError{};
}

// The previous file stays as the backup: a second name for it costs no copying; where no such
// link can be made, a copy. A backup that cannot be made does not stop the save.
void KeepBackup(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    const std::wstring backup = path + L".bak";
    DeleteFileW(backup.c_str());
    if (!CreateHardLinkW(backup.c_str(), path.c_str(), nullptr)) {
        CopyFileW(path.c_str(), backup.c_str(), FALSE);
    }
}

}  // namespace

void SettingsDocument::SetWriteLimitForTesting(size_t bytes) { WriteLimit() = bytes; }

void SettingsDocument::Clear(TextEncoding encoding) {
    sections_.assign(1, Section());
    sectionIndex_.clear();
    // Keys before the first header belong to a section without a name, which is always the
    // first one of that name: a later "[]" is never read.
    sectionIndex_.emplace(L"", 0);
    raw_.clear();
    encoding_ = encoding;
    newLineEnd_ = kCrLf;
    modified_ = false;
}

SettingsDocument::LoadStatus SettingsDocument::Load(const std::wstring& path, FileError* error) {
    Clear(TextEncoding::Ansi);
    std::string bytes;
    DWORD code = 0;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        code = GetLastError();
    } else {
        code = ReadWhole(file, bytes);
        CloseHandle(file);
    }
    const bool missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
    if (code != 0 && !missing) {
        unreadPath_ = path;
        unreadError_ = ErrorOf(code);
        if (error) *error = unreadError_;
        return LoadStatus::Unreadable;
    }
    if (!unreadPath_.empty() && SamePath(path, unreadPath_)) {
        unreadPath_.clear();
        unreadError_ = {};
    }
    if (missing) return LoadStatus::Missing;
    Parse(std::move(bytes));
    return LoadStatus::Loaded;
}

// The encoding is told by the byte order mark as the profile functions tell it: UTF-8's, or
// UTF-16LE's; anything else is text in the system's code page.
void SettingsDocument::Parse(std::string bytes) {
    TextEncoding encoding = TextEncoding::Ansi;
    size_t start = 0;
    if (bytes.compare(0, 3, kUtf8Mark) == 0) {
        encoding = TextEncoding::Utf8;
        start = 3;
    } else if (bytes.compare(0, 2, kUtf16Mark) == 0) {
        encoding = TextEncoding::Utf16LE;
        start = 2;
    }
    Clear(encoding);
    raw_ = std::move(bytes);
    auto add = [this](std::wstring text, uint8_t end, size_t rawBegin, size_t rawEnd) {
        Line line;
        line.text = std::move(text);
        line.end = end;
        line.rawBegin = static_cast<uint32_t>(rawBegin);
        line.rawEnd = static_cast<uint32_t>(rawEnd);
        AddLine(std::move(line));
    };
    if (encoding == TextEncoding::Utf16LE) {
        // An odd last byte reads as a character of its own, as the profile functions read it.
        std::wstring text((raw_.size() - start + 1) / 2, L'\0');
        for (size_t i = 0; i < text.size(); ++i) {
            const size_t at = start + 2 * i;
            unsigned high = at + 1 < raw_.size() ? static_cast<unsigned char>(raw_[at + 1]) : 0;
            text[i] = static_cast<wchar_t>(static_cast<unsigned char>(raw_[at]) | (high << 8));
        }
        for (const LineSpan& span : SplitLines(text)) {
            add(text.substr(span.begin, span.stop - span.begin), LineEndOf(text, span),
                start + 2 * span.begin, std::min(start + 2 * span.stop, raw_.size()));
        }
    } else {
        const UINT codePage = encoding == TextEncoding::Utf8 ? CP_UTF8 : CP_ACP;
        const std::string payload = raw_.substr(start);
        for (const LineSpan& span : SplitLines(payload)) {
            add(Decode(codePage, payload.data() + span.begin, span.stop - span.begin),
                LineEndOf(payload, span), start + span.begin, start + span.stop);
        }
    }
    ChooseLineEnd();
}

void SettingsDocument::LoadText(const std::wstring& text, TextEncoding encoding) {
    Clear(encoding);
    for (const LineSpan& span : SplitLines(text)) {
        Line line;
        line.text = text.substr(span.begin, span.stop - span.begin);
        line.end = LineEndOf(text, span);
        AddLine(std::move(line));
    }
    ChooseLineEnd();
}

// New lines end like the file's first line; CR LF in a file without line ends.
void SettingsDocument::ChooseLineEnd() {
    for (const Section& section : sections_) {
        for (const Line& line : section.lines) {
            if (line.end == kNoEnd) continue;
            newLineEnd_ = line.end;
            return;
        }
    }
}

void SettingsDocument::AddLine(Line line) {
    const LineShape shape = ShapeOf(line.text);
    if (shape.kind == LineShape::Header) {
        sections_.emplace_back();
        sectionIndex_.emplace(Folded(line.text, shape.name),
                              static_cast<uint32_t>(sections_.size() - 1));
    } else if (shape.kind == LineShape::Key) {
        Section& section = sections_.back();
        section.keys.emplace(Folded(line.text, shape.name),
                             static_cast<uint32_t>(section.lines.size()));
    }
    sections_.back().lines.push_back(std::move(line));
}

const SettingsDocument::Section* SettingsDocument::FindSection(const std::wstring& name) const {
    auto found = sectionIndex_.find(LookupKey(name));
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

SettingsDocument::Section* SettingsDocument::FindSection(const std::wstring& name) {
    return const_cast<Section*>(static_cast<const SettingsDocument*>(this)->FindSection(name));
}

bool SettingsDocument::Find(const std::wstring& section, const std::wstring& key,
                            std::wstring& value) const {
    const Section* found = FindSection(section);
    if (!found) return false;
    auto entry = found->keys.find(LookupKey(key));
    if (entry == found->keys.end()) return false;
    const std::wstring& text = found->lines[entry->second].text;
    const LineShape shape = ShapeOf(text);
    if (shape.value.begin == kNone) return false;  // the first such key has no value
    value = ProfileValue(text, shape.value);
    return true;
}

std::wstring SettingsDocument::Read(const std::wstring& section, const std::wstring& key,
                                    const std::wstring& fallback) const {
    std::wstring value;
    return Find(section, key, value) ? value : fallback;
}

void SettingsDocument::Write(const std::wstring& section, const std::wstring& key,
                             const std::wstring& text) {
    // A line break would end the line and start another (a key, even a section) of its own.
    std::wstring value = text.substr(0, text.find(L'\0'));
    std::replace(value.begin(), value.end(), L'\r', L' ');
    std::replace(value.begin(), value.end(), L'\n', L' ');

    Section* target = FindSection(section);
    if (!target) {
        const std::wstring name = Requested(section);
        sections_.emplace_back();
        sectionIndex_.emplace(LookupKey(name), static_cast<uint32_t>(sections_.size() - 1));
        target = &sections_.back();
        AppendLine(*target, L"[" + name + L"]");
    }
    auto entry = target->keys.find(LookupKey(key));
    if (entry == target->keys.end()) {
        uint32_t at = AppendLine(*target, Requested(key) + L"=" + value);
        target->keys.emplace(LookupKey(key), at);
        modified_ = true;
        return;
    }
    Line& line = target->lines[entry->second];
    const LineShape shape = ShapeOf(line.text);
    if (shape.value.begin != kNone) {
        // What the profile functions would read back is all that counts: "en = 1" stays.
        const Span wanted = Trimmed(value, 0, value.size());
        if (line.text.compare(shape.value.begin, shape.value.end - shape.value.begin, value,
                              wanted.begin, wanted.end - wanted.begin) == 0) {
            return;
        }
        line.text.replace(shape.value.begin, kNone, value);
    } else {
        line.text.replace(shape.name.end, kNone, L"=" + value);
    }
    line.rawBegin = line.rawEnd = kNoRaw;
    modified_ = true;
}

// Adds a line at the end of the section, before the blank lines that part it from the next.
uint32_t SettingsDocument::AppendLine(Section& section, std::wstring text) {
    size_t at = section.lines.size();
    while (at > 0 && ShapeOf(section.lines[at - 1].text).kind == LineShape::Blank) --at;
    // The line before may have been the file's last, without a line end.
    Line* before = at > 0 ? &section.lines[at - 1] : nullptr;
    for (size_t s = static_cast<size_t>(&section - sections_.data()); !before && s-- > 0;) {
        if (!sections_[s].lines.empty()) before = &sections_[s].lines.back();
    }
    if (before && before->end == kNoEnd) before->end = newLineEnd_;
    Line line;
    line.text = std::move(text);
    line.end = newLineEnd_;
    section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    return static_cast<uint32_t>(at);
}

bool SettingsDocument::NewTextFitsAnsi() const {
    for (const Section& section : sections_) {
        for (const Line& line : section.lines) {
            if (line.rawBegin == kNoRaw && !FitsAnsi(line.text)) return false;
        }
    }
    return true;
}

// The whole file in `encoding`: unchanged lines as they were read when the encoding stays,
// with where each line's text begins and ends.
std::string SettingsDocument::Encode(TextEncoding encoding, std::vector<uint32_t>& offsets) const {
    std::string out;
    out.reserve(raw_.size() + 4096);
    if (encoding == TextEncoding::Utf8) out += kUtf8Mark;
    if (encoding == TextEncoding::Utf16LE) out += kUtf16Mark;
    for (const Section& section : sections_) {
        for (const Line& line : section.lines) {
            offsets.push_back(static_cast<uint32_t>(out.size()));
            if (encoding == encoding_ && line.rawBegin != kNoRaw) {
                out.append(raw_, line.rawBegin, line.rawEnd - line.rawBegin);
            } else {
                AppendEncoded(out, line.text, encoding);
            }
            offsets.push_back(static_cast<uint32_t>(out.size()));
            const char* end = kLineEndText[line.end];
            AppendEncoded(out, std::wstring(end, end + std::char_traits<char>::length(end)),
                          encoding);
        }
    }
    return out;
}

FileError SettingsDocument::Save(const std::wstring& path) {
    if (!unreadPath_.empty() && SamePath(path, unreadPath_)) {
        // Whatever this document holds, it is not what that file holds.
        FileError error = unreadError_;
        error.reason = L"The file could not be read, so it is left as it is. " + error.reason;
        return error;
    }
    if (FileError error = CheckReplaceable(path)) return error;
    // The file stays in the code page as long as it can hold every value; else it becomes
    // UTF-16LE, which the profile functions read as Unicode, and the backup keeps it as it was.
    const TextEncoding encoding =
        encoding_ == TextEncoding::Ansi && !NewTextFitsAnsi() ? TextEncoding::Utf16LE : encoding_;
    std::vector<uint32_t> offsets;
    std::string bytes = Encode(encoding, offsets);

    const std::wstring temporary = path + L".tmp";
    if (FileError error = WriteWhole(temporary, bytes)) return error;
    KeepBackup(path);
    if (!MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        FileError error = ErrorOf(GetLastError());
        DeleteFileW(temporary.c_str());
        return error;
    }

    raw_ = std::move(bytes);
    size_t next = 0;
    for (Section& section : sections_) {
        for (Line& line : section.lines) {
            line.rawBegin = offsets[next++];
            line.rawEnd = offsets[next++];
        }
    }
    encoding_ = encoding;
    modified_ = false;
    return {};
}

}  // namespace orvale
