// The settings document: read like the profile functions read, edited in place, saved whole
// in one step without ever leaving a broken settings file.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "Harness.h"
#include "model/SettingsDocument.h"

using namespace orvale;
using namespace testing_support;

namespace {

const wchar_t* const kMissing = L"\x01(missing)";

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string Bytes(const std::wstring& text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf16LE) {
        std::string bytes = "\xFF\xFE";
        for (wchar_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        return bytes;
    }
    UINT codePage = encoding == TextEncoding::Utf8 ? CP_UTF8 : CP_ACP;
    int count = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(count), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0],
                        count, nullptr, nullptr);
    return (encoding == TextEncoding::Utf8 ? "\xEF\xBB\xBF" : "") + bytes;
}

std::string Escaped(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\u%04x", static_cast<unsigned>(c));
        out += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : hex;
    }
    return out;
}

// Random files made of what trips up readers of profile files: blanks of every kind around
// names and values, quotes, duplicate sections and keys in other cases, lines without "=",
// comments, junk, NULs, long values, every kind of line end and none at the end.
class Corpus {
public:
    explicit Corpus(unsigned seed) : random_(seed) {}

    std::wstring File(bool unicode) {
        unicode_ = unicode;
        section_.clear();
        pairs_.clear();
        std::wstring text;
        const wchar_t* const ends[] = {L"\r\n", L"\r\n", L"\n", L"\r", L"\r\r\n"};
        for (size_t n = 5 + Pick(25); n > 0; --n) {
            text += Line();
            if (n > 1 || Pick(3)) text += ends[Pick(5)];
        }
        return text;
    }

    // A section and a key to look up, mostly ones the file names, spelled another way.
    std::pair<std::wstring, std::wstring> Query() {
        auto pair = pairs_.empty() || Pick(4) == 0 ? std::make_pair(Name(sections), Name(keys))
                                                   : pairs_[Pick(pairs_.size())];
        return {Spelled(pair.first), Spelled(pair.second)};
    }

private:
    const std::vector<std::wstring> sections = {L"options", L"Menu+01", L"menu+:01:00",
                                                L"wndctx0", L"",        L"a b", L"\x0416x"};
    const std::vector<std::wstring> keys = {L"en", L"type", L"0",  L"name", L"",
                                            L"k k", L";c",  L"[x", L"\x0436"};

    size_t Pick(size_t n) { return random_() % n; }

    std::wstring Name(const std::vector<std::wstring>& pool) {
        return pool[Pick(unicode_ ? pool.size() : pool.size() - 1)];
    }

    // Names in other cases of A-Z, now and then with blanks around them.
    std::wstring Spelled(std::wstring name) {
        for (wchar_t& c : name) {
            if (Pick(4) == 0 && c < 0x80 && std::isalpha(c)) c ^= 0x20;
        }
        return Pick(5) ? name : Blank() + name + Blank();
    }

    std::wstring Blank() {
        const wchar_t* const blanks[] = {L" ", L"\t", L"  ", L"\x1a", L"\v", L"\f", L"\xa0"};
        return Pick(3) ? L"" : blanks[Pick(7)];
    }

    std::wstring Text(size_t length) {
        const std::wstring letters = unicode_ ? L"ab Z=;[]\"'\t\xe9\x0416\x0436\x4e2d\x1a"
                                              : L"ab Z=;[]\"'\t\xe9\x1a";
        std::wstring text;
        while (text.size() < length) text += letters[Pick(letters.size())];
        return text;
    }

    std::wstring Value() {
        const wchar_t quote = Pick(2) ? L'"' : L'\'';
        switch (Pick(8)) {
        case 0: return quote + Text(Pick(6)) + quote;
        case 1: return L"\"" + Text(Pick(4)) + L"'";
        case 2: return std::wstring(1, quote);
        case 3: return (Pick(2) ? L"" : std::wstring(1, quote)) + std::wstring(505 + Pick(10), L'v') +
                       (Pick(2) ? L" " : L"") + (Pick(3) ? std::wstring(1, quote) : L"");
        case 4: return Text(Pick(4)) + L'\0' + Text(Pick(4));
        default: return Text(Pick(12));
        }
    }

    std::wstring Line() {
        const std::wstring key = Name(keys);
        switch (Pick(10)) {
        case 0:
        case 1:
            section_ = Name(sections);
            return Blank() + L"[" + Spelled(section_) + (Pick(8) ? L"]" : L"") +
                   (Pick(6) ? L"" : Text(3));
        case 2: return Blank() + Spelled(key);
        case 3: return L";" + Text(Pick(8));
        case 4: return Blank() + Text(Pick(8));
        default:
            pairs_.emplace_back(section_, key);
            return Blank() + Spelled(key) + Blank() + L"=" + Blank() + Value() + Blank();
        }
    }

    std::mt19937 random_;
    bool unicode_ = false;
    std::wstring section_;
    std::vector<std::pair<std::wstring, std::wstring>> pairs_;
};

class SettingsDocumentTest : public ::testing::Test {
protected:
    std::wstring Path(const char* name) const { return Wide(folder_.File(name)); }
    std::string Disk(const std::wstring& path) const {
        return ReadFile(std::string(path.begin(), path.end()));
    }
    void Put(const std::wstring& path, const std::string& bytes) const {
        WriteFile(std::string(path.begin(), path.end()), bytes);
        // The profile functions may keep a file parsed in memory.
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    }

    TempDir folder_;
    const std::wstring path_ = Path("ov32data.ini");
};

}  // namespace

TEST_F(SettingsDocumentTest, ReadsEveryValueOfAThousandOddFilesAsTheProfileFunctionDoes) {
    Corpus corpus(20240611);
    int compared = 0, found = 0, wholeQuoted511 = 0, failures = 0;
    for (int file = 0; file < 1000 && failures < 10; ++file) {
        const TextEncoding encoding = static_cast<TextEncoding>(file % 3);
        const std::wstring text = corpus.File(encoding != TextEncoding::Ansi);
        Put(path_, Bytes(text, encoding));
        SettingsDocument document;
        ASSERT_EQ(SettingsDocument::LoadStatus::Loaded, document.Load(path_));
        for (int query = 0; query < 30; ++query) {
            const auto [section, key] = corpus.Query();
            wchar_t buffer[512];
            GetPrivateProfileStringW(section.c_str(), key.c_str(), kMissing, buffer, 512,
                                     path_.c_str());
            const std::wstring profile = buffer, ours = document.Read(section, key, kMissing);
            ++compared;
            found += profile != kMissing;
            if (ours == profile) continue;
            // The one wanted difference: a quoted value of 511 characters comes back whole.
            if (ours.size() == 511 && profile == ours.substr(0, 510) &&
                (text.find(L'"' + ours + L'"') != std::wstring::npos ||
                 text.find(L'\'' + ours + L'\'') != std::wstring::npos)) {
                ++wholeQuoted511;
                continue;
            }
            ++failures;
            ADD_FAILURE() << "file " << file << " [" << Escaped(section) << "] "
                          << Escaped(key) << "\n profile: " << Escaped(profile)
                          << "\n ours:    " << Escaped(ours) << "\n" << Escaped(text);
        }
    }
    EXPECT_GT(wholeQuoted511, 0);
    std::printf("%d lookups compared, %d found, %d quoted values of 511 characters\n",
                compared, found, wholeQuoted511);
}
