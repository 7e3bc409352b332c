// The encodings a settings file may be in, told and written as the profile functions tell and
// read them: a byte order mark says UTF-8 or UTF-16LE; anything else is the system's code page.
#pragma once

#include <cstddef>
#include <string>

namespace orvale {

// Utf8 and Utf16LE files start with a byte order mark; Ansi files use the system's code page.
enum class TextEncoding { Ansi, Utf8, Utf16LE };

extern const char kUtf8Mark[];   // EF BB BF
extern const char kUtf16Mark[];  // FF FE

// The encoding `bytes` are in, and where the text after its mark begins.
TextEncoding DetectEncoding(const std::string& bytes, size_t& textStart);

// The byte order mark a file in `encoding` starts with ("" for Ansi).
std::string ByteOrderMark(TextEncoding encoding);

// `length` bytes of a file in Ansi or UTF-8 as text.
std::wstring DecodeBytes(TextEncoding encoding, const char* bytes, size_t length);

// Appends `text` to `out` in `encoding` (without a mark).
void AppendEncoded(std::string& out, const std::wstring& text, TextEncoding encoding);

// True when every character has its own equal in the system's code page.
bool FitsAnsi(const std::wstring& text);

}  // namespace orvale
