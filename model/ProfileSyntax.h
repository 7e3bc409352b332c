// How the profile (INI) functions read a line of text, as plain functions on strings: what is
// a section header, a key and its value, what they trim, how names compare and how long a value
// comes back. The settings document looks its values up through these, so that it reads every
// file exactly as GetPrivateProfileString would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvale {

// The program reads values into 512 characters, so at most 511 come back.
constexpr size_t kProfileValueLimit = 511;

// A stretch [begin, end) of a line.
struct Span {
    size_t begin, end;
};

// What the profile functions trim around names and values: ASCII white space and the DOS
// end-of-file character, nothing else (not even a no-break space).
bool IsProfileBlank(wchar_t c);
Span Trimmed(const std::wstring& text, size_t begin, size_t end);

// How the profile functions see one line: blank, a section header "[name]" (up to the last
// "]", anything after it ignored) or a key, with or without "=" and a value.
struct LineShape {
    enum Kind { Blank, Header, Key } kind = Blank;
    Span name = {0, 0};
    Span value = {std::wstring::npos, std::wstring::npos};  // key lines with "=" only
    bool HasValue() const { return value.begin != std::wstring::npos; }
};
LineShape ShapeOf(const std::wstring& text);

// Names are C strings to the profile functions: they end at a NUL, and only A-Z fold.
std::wstring Folded(const std::wstring& text, Span span);
// A name as given by a caller: cut at a NUL and trimmed, as the profile functions take it.
std::wstring Requested(const std::wstring& name);
// The folded form of a name as given by a caller, for looking it up.
std::wstring LookupKey(const std::wstring& name);

// The value as the profile functions return it into 512 characters: up to a NUL, one pair of
// surrounding quotes (single or double) stripped, at most 511 characters.
std::wstring ProfileValue(const std::wstring& text, Span span);

// One line of a text: its characters [begin, stop), its line end [stop, next).
struct LineSpan {
    size_t begin, stop, next;
};

// A line's end, kept so that an unchanged line is written back as it was read.
enum LineEnd : uint8_t { kNoEnd, kCrLf, kLf, kCr };
extern const char* const kLineEndText[4];

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

}  // namespace orvale
