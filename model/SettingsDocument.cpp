#include "model/SettingsDocument.h"

#include <algorithm>

#include "model/ProfileSyntax.h"

namespace orvale {
namespace {

// A settings file is a few hundred kilobytes; anything this big is not one.
constexpr size_t kMaxFileSize = size_t{256} << 20;

}  // namespace

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
    const FileError read = ReadWholeFile(path, bytes, kMaxFileSize);
    const bool missing = IsMissing(read);
    if (read && !missing) {
        unreadPath_ = path;
        unreadError_ = read;
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
    size_t start = 0;
    const TextEncoding encoding = DetectEncoding(bytes, start);
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
        // An odd last byte is half a character (a file cut short). It is dropped: kept, it would
        // shift every line a save adds after it by one byte. (The profile functions make a
        // character of it with whatever byte lies past the end of the file.)
        if ((raw_.size() - start) % 2) raw_.pop_back();
        std::wstring text((raw_.size() - start) / 2, L'\0');
        for (size_t i = 0; i < text.size(); ++i) {
            const size_t at = start + 2 * i;
            text[i] = static_cast<wchar_t>(static_cast<unsigned char>(raw_[at]) |
                                           static_cast<unsigned char>(raw_[at + 1]) << 8);
        }
        for (const LineSpan& span : SplitLines(text)) {
            add(text.substr(span.begin, span.stop - span.begin), LineEndOf(text, span),
                start + 2 * span.begin, start + 2 * span.stop);
        }
    } else {
        const std::string payload = raw_.substr(start);
        for (const LineSpan& span : SplitLines(payload)) {
            add(DecodeBytes(encoding, payload.data() + span.begin, span.stop - span.begin),
                LineEndOf(payload, span), start + span.begin, start + span.stop);
        }
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
    if (!shape.HasValue()) return false;  // the first such key has no value
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
    if (shape.HasValue()) {
        // What the profile functions would read back is all that counts: "en = 1" stays.
        const Span wanted = Trimmed(value, 0, value.size());
        if (line.text.compare(shape.value.begin, shape.value.end - shape.value.begin, value,
                              wanted.begin, wanted.end - wanted.begin) == 0) {
            return;
        }
        line.text.replace(shape.value.begin, std::wstring::npos, value);
    } else {
        line.text.replace(shape.name.end, std::wstring::npos, L"=" + value);
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
    out += ByteOrderMark(encoding);
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
        // Whatever this document holds, it is not what that file holds; until the file is read
        // again, trying again cannot help.
        FileError error = unreadError_;
        error.lasting = true;
        return error;
    }
    // The file stays in the code page as long as it can hold every value; else it becomes
    // UTF-16LE, which the profile functions read as Unicode, and the backup keeps it as it was.
    const TextEncoding encoding =
        encoding_ == TextEncoding::Ansi && !NewTextFitsAnsi() ? TextEncoding::Utf16LE : encoding_;
    std::vector<uint32_t> offsets;
    std::string bytes = Encode(encoding, offsets);

    if (FileError error = ReplaceWholeFile(path, bytes)) return error;

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
