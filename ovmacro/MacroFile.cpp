#include "ovmacro/MacroFile.h"

#include <cwchar>
#include <cwctype>

#include "actions/MacroTool.h"
#include "model/TextEncoding.h"
#include "win/Text.h"

namespace ovmacro {
namespace {

constexpr size_t kMaxFileBytes = 4u << 20;

struct ButtonName {
    Button button;
    const wchar_t* name;
};
constexpr ButtonName kButtons[] = {
    {Button::Left, L"left"}, {Button::Right, L"right"}, {Button::Middle, L"middle"}};

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool IsBlank(const std::wstring& text) {
    for (wchar_t c : text) {
        if (!std::iswspace(c)) return false;
    }
    return true;
}

std::wstring TrimmedLeft(const std::wstring& text) {
    size_t start = 0;
    while (start < text.size() && (text[start] == L' ' || text[start] == L'\t')) ++start;
    return text.substr(start);
}

bool IsComment(const std::wstring& line) {
    const std::wstring text = TrimmedLeft(line);
    return !text.empty() && text[0] == L';';
}

std::wstring TrimmedRight(std::wstring text) {
    while (!text.empty() && std::iswspace(text.back())) text.pop_back();
    return text;
}

// The lines of a text, without their line ends (CR LF or LF).
std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// A whole number of milliseconds, digits only, up to `limit`.
bool ParseMs(const std::wstring& text, unsigned limit, unsigned& ms, std::wstring& why) {
    const std::wstring digits = TrimmedRight(text);
    bool ok = !digits.empty() && digits.size() <= 10;
    unsigned long long value = 0;
    for (wchar_t c : digits) {
        ok = ok && c >= L'0' && c <= L'9';
        if (ok) value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    if (!ok || value > limit) {
        why = L"It needs a number of milliseconds from 0 to " + std::to_wstring(limit) + L".";
        return false;
    }
    ms = static_cast<unsigned>(value);
    return true;
}

// "left 120,48": a button and a point (either number may be negative).
bool ParseClick(const std::wstring& text, Step& step, std::wstring& why) {
    why = L"It needs a button (left, right or middle) and a point such as 120,48.";
    const size_t space = text.find(L' ');
    if (space == std::wstring::npos) return false;
    const std::wstring button = win::LowerCase(text.substr(0, space));
    bool known = false;
    for (const ButtonName& b : kButtons) {
        if (button == b.name) {
            step.button = b.button;
            known = true;
        }
    }
    int x = 0, y = 0;
    wchar_t rest = 0;
    if (!known || swscanf(text.c_str() + space, L" %d , %d %lc", &x, &y, &rest) != 2) {
        return false;
    }
    step.at = {x, y};
    return true;
}

std::wstring DecodeFile(const std::string& bytes) {
    size_t start = 0;
    const orvale::TextEncoding encoding = orvale::DetectEncoding(bytes, start);
    if (encoding == orvale::TextEncoding::Utf16LE) {
        std::wstring text;
        for (size_t i = start; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        }
        return text;
    }
    // Editors of today save UTF-8 without a mark: such bytes are taken as UTF-8.
    const bool utf8 = encoding == orvale::TextEncoding::Utf8 ||
                      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + start,
                                          static_cast<int>(bytes.size() - start), nullptr, 0) > 0;
    return orvale::DecodeBytes(utf8 ? orvale::TextEncoding::Utf8 : orvale::TextEncoding::Ansi,
                               bytes.data() + start, bytes.size() - start);
}

}  // namespace

size_t Macro::StepCount() const {
    size_t count = 0;
    for (const Step& step : steps) count += step.kind != StepKind::Comment;
    return count;
}

bool ValidMacroName(const std::wstring& name) {
    return !name.empty() && name.size() <= kMaxNameLength && orvale::SendableMacroName(name) &&
           name.find_first_of(L"[]") == std::wstring::npos && name[0] != L';';
}

bool ParseStep(const std::wstring& line, Step& step, std::wstring& why) {
    step = Step();
    const std::wstring text = TrimmedLeft(line);
    if (!text.empty() && text[0] == L';') {
        step.kind = StepKind::Comment;
        step.text = text;
        return true;
    }
    const size_t space = text.find(L' ');
    const std::wstring word = win::LowerCase(text.substr(0, space));
    const std::wstring rest = space == std::wstring::npos ? L"" : text.substr(space + 1);
    if (word == L"keys") {
        // Everything after the one space is typed, spaces included.
        step.text = rest;
        if (!rest.empty()) return true;
        why = L"It needs the keys to type, written as in a key sequence.";
        return false;
    }
    if (word == L"pause" || word == L"wait") {
        step.kind = word == L"pause" ? StepKind::Pause : StepKind::Wait;
        return ParseMs(rest, kMaxWaitMs, step.ms, why);
    }
    if (word == L"click") {
        step.kind = StepKind::Click;
        return ParseClick(rest, step, why);
    }
    why = L"\"" + text.substr(0, space) + L"\" is no step: a step is keys, pause, wait or click.";
    return false;
}

std::wstring FormatStep(const Step& step) {
    switch (step.kind) {
    case StepKind::Keys: return L"keys " + step.text;
    case StepKind::Pause: return L"pause " + std::to_wstring(step.ms);
    case StepKind::Wait: return L"wait " + std::to_wstring(step.ms);
    case StepKind::Comment: return step.text;
    case StepKind::Click: break;
    }
    std::wstring button = kButtons[0].name;
    for (const ButtonName& b : kButtons) {
        if (b.button == step.button) button = b.name;
    }
    return L"click " + button + L" " + std::to_wstring(step.at.x) + L"," +
           std::to_wstring(step.at.y);
}

bool ParseSteps(const std::wstring& text, std::vector<Step>& steps, TextError& error) {
    steps.clear();
    const std::vector<std::wstring> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (IsBlank(lines[i])) continue;
        Step step;
        if (lines[i].size() > kMaxLineLength) {
            error = {i + 1, L"The line is longer than " + std::to_wstring(kMaxLineLength) +
                                L" characters."};
            return false;
        }
        if (!ParseStep(lines[i], step, error.why)) {
            error.line = i + 1;
            return false;
        }
        steps.push_back(step);
    }
    return true;
}

std::wstring FormatSteps(const std::vector<Step>& steps) {
    std::wstring text;
    for (const Step& step : steps) text += FormatStep(step) + L"\r\n";
    return text;
}

Macro* MacroBook::Find(const std::wstring& name) {
    for (Macro& macro : macros) {
        if (SameName(macro.name, name)) return &macro;
    }
    return nullptr;
}

bool MacroBook::Remove(const std::wstring& name) {
    for (auto it = macros.begin(); it != macros.end(); ++it) {
        if (SameName(it->name, name)) {
            macros.erase(it);
            return true;
        }
    }
    return false;
}

std::wstring MacroBook::CopyName(const std::wstring& name) {
    std::wstring base = name;
    const size_t underscore = base.find_last_of(L'_');
    if (underscore != std::wstring::npos && underscore + 1 < base.size() &&
        base.find_first_not_of(L"0123456789", underscore + 1) == std::wstring::npos) {
        base.erase(underscore);
    }
    for (unsigned number = 2;; ++number) {
        const std::wstring ending = L"_" + std::to_wstring(number);
        const std::wstring copy = base.substr(0, kMaxNameLength - ending.size()) + ending;
        if (!Find(copy)) return copy;
    }
}

bool ParseBook(const std::wstring& text, MacroBook& book, TextError& error) {
    book = MacroBook();
    const std::vector<std::wstring> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring line = TrimmedRight(TrimmedLeft(lines[i]));
        error.line = i + 1;
        if (lines[i].size() > kMaxLineLength) {
            error.why = L"The line is longer than " + std::to_wstring(kMaxLineLength) +
                        L" characters.";
            return false;
        }
        if (line.empty()) continue;
        if (line[0] == L'[') {
            const std::wstring name = line.back() == L']' ? line.substr(1, line.size() - 2) : L"";
            if (!ValidMacroName(name)) {
                error.why = L"A macro's name is one word in [ ], such as [Sign_off].";
                return false;
            }
            if (book.Find(name)) {
                error.why = L"A second macro named " + name + L".";
                return false;
            }
            // The comment lines right above a macro's name are about that macro.
            Macro macro;
            macro.name = name;
            for (size_t above = i; above > 0 && IsComment(lines[above - 1]); --above) {
                if (book.macros.empty()) {
                    macro.notes.insert(macro.notes.begin(), book.preamble.back());
                    book.preamble.pop_back();
                } else {
                    macro.notes.insert(macro.notes.begin(), book.macros.back().steps.back().text);
                    book.macros.back().steps.pop_back();
                }
            }
            book.macros.push_back(macro);
            continue;
        }
        if (book.macros.empty() && line[0] == L';') {
            book.preamble.push_back(line);
            continue;
        }
        Step step;
        if (book.macros.empty()) {
            error.why = L"A step before the first macro's name.";
            return false;
        }
        if (!ParseStep(lines[i], step, error.why)) return false;
        book.macros.back().steps.push_back(step);
    }
    error = TextError();
    return true;
}

std::wstring FormatBook(const MacroBook& book) {
    std::wstring text;
    for (const std::wstring& line : book.preamble) text += line + L"\r\n";
    for (const Macro& macro : book.macros) {
        if (!text.empty()) text += L"\r\n";
        for (const std::wstring& note : macro.notes) text += note + L"\r\n";
        text += L"[" + macro.name + L"]\r\n" + FormatSteps(macro.steps);
    }
    return text;
}

LoadResult LoadBook(const std::wstring& path, MacroBook& book) {
    LoadResult result;
    std::string bytes;
    result.fileError = orvale::ReadWholeFile(path, bytes, kMaxFileBytes);
    if (result.fileError) {
        result.status =
            orvale::IsMissing(result.fileError) ? LoadStatus::Missing : LoadStatus::Unreadable;
        return result;
    }
    if (!ParseBook(DecodeFile(bytes), book, result.textError)) {
        result.status = LoadStatus::Damaged;
    }
    return result;
}

orvale::FileError SaveBook(const std::wstring& path, const MacroBook& book) {
    std::string bytes = orvale::ByteOrderMark(orvale::TextEncoding::Utf8);
    orvale::AppendEncoded(bytes, FormatBook(book), orvale::TextEncoding::Utf8);
    return orvale::ReplaceWholeFile(path, bytes);
}

std::wstring DescribeLoadProblem(const std::wstring& path, const LoadResult& result) {
    const std::wstring file = L"The macro file \"" + path + L"\"";
    switch (result.status) {
    case LoadStatus::Loaded: return std::wstring();
    case LoadStatus::Missing: return file + L" is not there.";
    case LoadStatus::Unreadable: return file + L" cannot be read: " + result.fileError.reason;
    case LoadStatus::Damaged: break;
    }
    return file + L" cannot be read. Line " + std::to_wstring(result.textError.line) + L": " +
           result.textError.why + L"\n\nNothing in the file was changed.";
}

}  // namespace ovmacro
