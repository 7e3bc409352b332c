#include "model/TextEncoding.h"

#include <windows.h>

#include <algorithm>

#include "win/Text.h"

namespace orvale {

const char kUtf8Mark[] = "\xEF\xBB\xBF";
const char kUtf16Mark[] = "\xFF\xFE";

namespace {

UINT CodePageOf(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? CP_UTF8 : CP_ACP;
}

bool IsAscii(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

}  // namespace

TextEncoding DetectEncoding(const std::string& bytes, size_t& textStart) {
    if (bytes.compare(0, 3, kUtf8Mark) == 0) {
        textStart = 3;
        return TextEncoding::Utf8;
    }
    if (bytes.compare(0, 2, kUtf16Mark) == 0) {
        textStart = 2;
        return TextEncoding::Utf16LE;
    }
    textStart = 0;
    return TextEncoding::Ansi;
}

std::string ByteOrderMark(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8: return kUtf8Mark;
    case TextEncoding::Utf16LE: return kUtf16Mark;
    case TextEncoding::Ansi: break;
    }
    return std::string();
}

std::wstring DecodeBytes(TextEncoding encoding, const char* bytes, size_t length) {
    return win::Widen(std::string(bytes, length), CodePageOf(encoding));
}

void AppendEncoded(std::string& out, const std::wstring& text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf16LE) {
        for (wchar_t c : text) {
            out.push_back(static_cast<char>(c & 0xFF));
            out.push_back(static_cast<char>((c >> 8) & 0xFF));
        }
        return;
    }
    out += win::Narrow(text, CodePageOf(encoding));
}

bool FitsAnsi(const std::wstring& text) {
    if (IsAscii(text) || GetACP() == CP_UTF8) return true;
    BOOL usedDefault = FALSE;
    int count =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                            static_cast<int>(text.size()), nullptr, 0, nullptr, &usedDefault);
    return count > 0 && !usedDefault;
}

}  // namespace orvale
