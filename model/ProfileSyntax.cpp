#include "model/ProfileSyntax.h"

#include <algorithm>

namespace orvale {

const char* const kLineEndText[4] = {"", "\r\n", "\n", "\r"};

bool IsProfileBlank(wchar_t c) { return (c >= 9 && c <= 13) || c == 0x1a || c == L' '; }

Span Trimmed(const std::wstring& text, size_t begin, size_t end) {
    while (begin < end && IsProfileBlank(text[begin])) ++begin;
    while (end > begin && IsProfileBlank(text[end - 1])) --end;
    return {begin, end};
}

LineShape ShapeOf(const std::wstring& text) {
    constexpr size_t kNone = std::wstring::npos;
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

std::wstring Folded(const std::wstring& text, Span span) {
    std::wstring name = text.substr(span.begin, span.end - span.begin);
    name.resize(std::min(name.size(), name.find(L'\0')));
    for (wchar_t& c : name) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
    }
    return name;
}

std::wstring Requested(const std::wstring& name) {
    const std::wstring cut = name.substr(0, name.find(L'\0'));
    const Span span = Trimmed(cut, 0, cut.size());
    return cut.substr(span.begin, span.end - span.begin);
}

std::wstring LookupKey(const std::wstring& name) {
    std::wstring cut = Requested(name);
    return Folded(cut, {0, cut.size()});
}

std::wstring ProfileValue(const std::wstring& text, Span span) {
    std::wstring value = text.substr(span.begin, span.end - span.begin);
    value.resize(std::min(value.size(), value.find(L'\0')));
    if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0]) {
        // The profile function drops the last character of a quoted value of exactly 511
        // characters; such values are written quoted to keep their blanks, so they come back
        // whole here.
        return value.substr(1, std::min(value.size() - 2, kProfileValueLimit));
    }
    value.resize(std::min(value.size(), kProfileValueLimit));
    return value;
}

}  // namespace orvale
