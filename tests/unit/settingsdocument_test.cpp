// The settings document: read like the profile functions read, edited in place, saved whole
// in one step without ever leaving a broken settings file.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Harness.h"
#include "model/SettingsDocument.h"

using namespace orvale;
using namespace testing_support;

namespace {

const wchar_t* const kMissing = L"\x01(missing)";

std::string Bytes(const std::wstring& text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf16LE) {
        return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    }
    const UINT codePage = encoding == TextEncoding::Utf8 ? CP_UTF8 : CP_ACP;
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(static_cast<size_t>(
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0],
                            static_cast<int>(bytes.size()), nullptr, nullptr)));
    return (encoding == TextEncoding::Utf8 ? "\xEF\xBB\xBF" : "") + bytes;
}

// Random files made of what trips up readers of profile files: blanks of every kind around
// names and values, quotes, duplicate sections and keys in other cases, lines without "=",
// comments, junk, NULs, long values, every kind of line end and none at the end.
class Corpus {
public:
    explicit Corpus(unsigned seed) : random_(seed) {}

    std::wstring File(bool unicode) {
        unicode_ = unicode;
        pairs_.clear();
        std::wstring text, section;
        const wchar_t* const ends[] = {L"\r\n", L"\r\n", L"\n", L"\r", L"\r\r\n"};
        for (size_t n = 5 + Pick(25); n > 0; --n) {
            const std::wstring key = Name(keys_);
            switch (Pick(10)) {
            case 0:
            case 1:
                section = Name(sections_);
                text += Blank() + L"[" + Spelled(section) + (Pick(8) ? L"]" : L"") +
                        (Pick(6) ? L"" : Text(3));
                break;
            case 2: text += Blank() + Spelled(key); break;
            case 3: text += L";" + Text(Pick(8)); break;
            case 4: text += Blank() + Text(Pick(8)); break;
            default:
                pairs_.emplace_back(section, key);
                text += Blank() + Spelled(key) + Blank() + L"=" + Blank() + Value() + Blank();
            }
            if (n > 1 || Pick(3)) text += ends[Pick(5)];
        }
        return text;
    }

    // A section and a key to look up, mostly ones the file names, spelled another way.
    std::pair<std::wstring, std::wstring> Query() {
        auto pair = pairs_.empty() || Pick(4) == 0 ? std::make_pair(Name(sections_), Name(keys_))
                                                   : pairs_[Pick(pairs_.size())];
        return {Spelled(pair.first), Spelled(pair.second)};
    }

private:
    size_t Pick(size_t n) { return random_() % n; }
    // The last name of each pool is not in the ANSI code page.
    std::wstring Name(const std::vector<std::wstring>& pool) {
        return pool[Pick(unicode_ ? pool.size() : pool.size() - 1)];
    }
    // Names in other cases of A-Z, now and then with blanks around them.
    std::wstring Spelled(std::wstring name) {
        for (wchar_t& c : name) {
            if (Pick(4) == 0 && c < 0x80 && std::isalpha(c)) c = static_cast<wchar_t>(c ^ 0x20);
        }
        return Pick(5) ? name : Blank() + name + Blank();
    }
    std::wstring Blank() {
        const wchar_t* const blanks[] = {L" ", L"\t", L"  ", L"\x1a", L"\v", L"\f", L"\xa0"};
        return Pick(3) ? L"" : blanks[Pick(7)];
    }
    std::wstring Text(size_t length) {
        const std::wstring letters =
            unicode_ ? L"ab Z=;[]\"'\t\xe9\x1a\x0416\x0436\x4e2d" : L"ab Z=;[]\"'\t\xe9\x1a";
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
        case 3:  // about 511 characters, quoted or not, with or without a blank inside the quotes
            return (Pick(2) ? L"" : std::wstring(1, quote)) + std::wstring(505 + Pick(10), L'v') +
                   (Pick(2) ? L" " : L"") + (Pick(3) ? std::wstring(1, quote) : L"");
        case 4: return Text(Pick(4)) + L'\0' + Text(Pick(4));
        default: return Text(Pick(12));
        }
    }

    const std::vector<std::wstring> sections_ = {L"options", L"Menu+01", L"menu+:01:00",
                                                 L"wndctx0", L"",        L"a b", L"\x0416x"};
    const std::vector<std::wstring> keys_ = {L"en", L"type", L"0",  L"name",  L"",
                                             L"k k", L";c",  L"[x", L"\x0436"};
    std::mt19937 random_;
    bool unicode_ = false;
    std::vector<std::pair<std::wstring, std::wstring>> pairs_;
};

class SettingsDocumentTest : public ::testing::Test {
protected:
    std::wstring Path(const char* name) const { return win::Widen(folder_.File(name)); }
    std::string Disk(const std::wstring& path) const { return ReadFile(win::Narrow(path)); }
    void Put(const std::wstring& path, const std::string& bytes) const {
        WriteFile(win::Narrow(path), bytes);
        // The profile functions may keep a file parsed in memory.
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    }

    TempDir folder_;
    const std::wstring path_ = Path("ov32data.ini");
    const std::wstring whole_ = Path("whole.ini");
};

}  // namespace

TEST_F(SettingsDocumentTest, ReadsAThousandOddFilesAsTheProfileFunctionAndSavesWhatItAdds) {
    Corpus corpus(20240611);
    int found = 0, wholeQuoted511 = 0, failures = 0;
    for (int file = 0; file < 1000 && failures < 10; ++file) {
        const TextEncoding encoding = static_cast<TextEncoding>(file % 3);
        const std::wstring text = corpus.File(encoding != TextEncoding::Ansi);
        // Every other UTF-16 file ends in half a character, as a file cut short does. That half
        // is dropped; the profile function makes a character of it with whatever byte follows
        // in memory, so it is asked about the file without it.
        const std::string bytes = Bytes(text, encoding);
        const bool odd = encoding == TextEncoding::Utf16LE && file % 2;
        Put(path_, odd ? bytes + static_cast<char>('a' + file % 26) : bytes);
        if (odd) Put(whole_, bytes);
        const std::wstring& asked = odd ? whole_ : path_;
        SettingsDocument document;
        ASSERT_EQ(SettingsDocument::LoadStatus::Loaded, document.Load(path_));
        for (int query = 0; query < 20; ++query) {
            const auto [section, key] = corpus.Query();
            wchar_t buffer[512];
            GetPrivateProfileStringW(section.c_str(), key.c_str(), kMissing, buffer, 512,
                                     asked.c_str());
            const std::wstring profile = buffer, ours = document.Read(section, key, kMissing);
            found += profile != kMissing;
            // The one wanted difference: a quoted value of 511 characters comes back whole.
            if (ours.size() == 511 && profile == ours.substr(0, 510) &&
                (text.find(L'"' + ours + L'"') != std::wstring::npos ||
                 text.find(L'\'' + ours + L'\'') != std::wstring::npos)) {
                ++wholeQuoted511;
                continue;
            }
            EXPECT_EQ(profile, ours) << "file " << file << " [" << section << "] " << key << "\n"
                                     << text;
            failures += profile != ours;
        }
        // What a save adds reads back as written, wherever the file ended: at the end of a
        // section or in a new one after the last line.
        const std::wstring section = file % 4 < 2 ? L"Menu+01" : L"added";
        const std::wstring added = L"value " + std::to_wstring(file);
        document.Write(section, L"added", added);
        ASSERT_FALSE(document.Save(path_));
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path_.c_str());
        wchar_t buffer[512];
        GetPrivateProfileStringW(section.c_str(), L"added", kMissing, buffer, 512, path_.c_str());
        EXPECT_EQ(added, std::wstring(buffer)) << "file " << file << "\n" << text;
        failures += added != buffer;
    }
    EXPECT_GT(found, 5000) << "most lookups name what the files hold";
    EXPECT_GT(wholeQuoted511, 0);
}

TEST_F(SettingsDocumentTest, EditsChangeOnlyTheirLinesAndTheFileTurnsUnicodeOnlyWhenItMust) {
    const std::wstring original =
        L"; Orvale settings\r\n[TaskBar+]\r\nen = 1\r\nhoriz=0\r\n\r\n[Other program]\n"
        L"colour=caf\xe9\r\njunk line without equals\r\n\r\n[Menu+01]\r\nname=Tools\r\n"
        L"[menu+01]\r\nname=second copy, never read\r\n[wndctx0]\r\n0=notepad";
    const std::wstring edited =
        L"; Orvale settings\r\n[TaskBar+]\r\nen = 1\r\nhoriz=1\r\nnew=caf\xe9\r\n\r\n"
        L"[Other program]\ncolour=caf\xe9\r\njunk line without equals\r\n\r\n[Menu+01]\r\n"
        L"name=Tools\r\nen=1\r\n[menu+01]\r\nname=second copy, never read\r\n[wndctx0]\r\n"
        L"0=notepad\r\n1=.\r\n[options]\r\nx=120\r\n";
    const std::wstring cyrillic = L"\x0418\x043d\x0441\x0442\x0440\x0443\x043c";
    std::wstring renamed = edited;
    renamed.replace(renamed.find(L"Tools"), 5, cyrillic);

    const std::pair<TextEncoding, TextEncoding> cases[] = {  // as read, after the rename
        {TextEncoding::Ansi, TextEncoding::Utf16LE},
        {TextEncoding::Utf8, TextEncoding::Utf8},
        {TextEncoding::Utf16LE, TextEncoding::Utf16LE}};
    const std::wstring backup = path_ + L".bak";
    for (const auto& [encoding, afterRename] : cases) {
        SCOPED_TRACE(static_cast<int>(encoding));
        Put(path_, Bytes(original, encoding));
        SettingsDocument document;
        ASSERT_EQ(SettingsDocument::LoadStatus::Loaded, document.Load(path_));
        EXPECT_EQ(encoding, document.Encoding());
        document.Write(L"TaskBar+", L"en", L"1");
        EXPECT_FALSE(document.Modified()) << "the same value";
        ASSERT_FALSE(document.Save(path_));
        EXPECT_EQ(Bytes(original, encoding), Disk(path_)) << "nothing changed, byte for byte";
        EXPECT_EQ(Bytes(original, encoding), Disk(backup));

        document.Write(L"TaskBar+", L"horiz", L"1");
        document.Write(L"MENU+01", L"en", L"1");
        document.Write(L" TaskBar+ ", L"new", L"caf\xe9");
        document.Write(L"wndctx0", L"1", L".");
        document.Write(L"options", L"x", L"120");
        ASSERT_FALSE(document.Save(path_));
        EXPECT_FALSE(document.Modified());
        EXPECT_EQ(encoding, document.Encoding()) << "every value fits";
        EXPECT_EQ(Bytes(edited, encoding), Disk(path_));

        document.Write(L"Menu+01", L"name", cyrillic);
        ASSERT_FALSE(document.Save(path_));
        EXPECT_EQ(afterRename, document.Encoding());
        EXPECT_EQ(Bytes(renamed, afterRename), Disk(path_));
        EXPECT_EQ(Bytes(edited, encoding), Disk(backup)) << "the file as it was";
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path_.c_str());
        wchar_t name[512];
        GetPrivateProfileStringW(L"Menu+01", L"name", L"", name, 512, path_.c_str());
        EXPECT_EQ(cyrillic, name) << "the profile function reads it too";
    }
}

TEST_F(SettingsDocumentTest, QuotedValuesOf511CharactersSurviveEverySaveAndANulEndsAValue) {
    const std::wstring value = L" " + std::wstring(510, L'x');
    SettingsDocument document;
    document.Write(L"Menu+01", L"name", L"\"" + value + L"\"");
    document.Write(L"Menu+01", L"tt", std::wstring(L"before\0after", 12));
    for (int save = 0; save < 3; ++save) {
        ASSERT_FALSE(document.Save(path_));
        ASSERT_EQ(SettingsDocument::LoadStatus::Loaded, document.Load(path_));
        const std::wstring read = document.Read(L"Menu+01", L"name", L"");
        EXPECT_EQ(value, read);
        document.Write(L"Menu+01", L"name", L"\"" + read + L"\"");
    }
    EXPECT_EQ(L"before", document.Read(L"Menu+01", L"tt", L""));
}

TEST_F(SettingsDocumentTest, ASaveWritesOnlyItsOwnNewFileAndAFailedOneSaysWhyAndLeavesTheFile) {
    const std::wstring inMissingFolder = Path("gone") + L"\\ov32data.ini";
    // What other programs may leave under the name saves once used for their temporary file.
    const std::string planted = folder_.File("ov32data.ini.tmp"), victim = folder_.File("victim");
    HANDLE lock = INVALID_HANDLE_VALUE;
    const struct {
        const char* cause;
        std::wstring path;
        std::function<void()> begin, after;  // `after` undoes the cause and checks what stands
        bool fails;
    } cases[] = {
        {"held open by another program", path_,
         [&] {
             lock = CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
         },
         [&] { CloseHandle(lock); }, true},
        {"read-only", path_, [&] { SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY); },
         [&] { SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL); }, true},
        {"missing folder", inMissingFolder, [] {},
         [&] { CreateDirectoryW(Path("gone").c_str(), nullptr); }, true},
        {"full disk", path_, [] { SetWriteLimitForTesting(10); },
         [] { SetWriteLimitForTesting(SIZE_MAX); }, true},
        {"a link to another file planted under the old temporary name", path_,
         [&] {
             WriteFile(victim, "planted");
             CreateHardLinkA(planted.c_str(), victim.c_str(), nullptr);
         },
         [&] {
             EXPECT_EQ("planted", ReadFile(victim)) << "written through the link";
             DeleteFileA(planted.c_str());
         }, false},
        {"a hidden settings file", path_,
         [&] { SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_HIDDEN); },
         [&] {
             EXPECT_TRUE(GetFileAttributesW(path_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
             SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
         }, false},
    };
    // Files a save made for itself ("ov32data.ini.<random>.tmp" and such) and left behind.
    const auto leftovers = [&] {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(folder_.File("ov32data.ini.*-*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return 0;
        int count = 1;
        while (FindNextFileA(search, &found)) ++count;
        FindClose(search);
        return count;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        const std::string before = "[Menu+01]\r\nname=" + std::string(200, 'n') + "\r\n";
        Put(path_, before);
        SettingsDocument document;
        document.Load(c.path);
        document.Write(L"Menu+01", L"name", L"changed");
        c.begin();
        const FileError error = document.Save(c.path);
        c.after();
        EXPECT_EQ(0, leftovers());
        if (c.fails) {
            EXPECT_TRUE(error && !error.reason.empty());
            EXPECT_EQ(before, Disk(path_));
            EXPECT_TRUE(document.Modified());
            ASSERT_FALSE(document.Save(c.path)) << "once the cause is gone";
        } else {
            EXPECT_FALSE(error) << error.reason;
        }
        document.Load(c.path);
        EXPECT_EQ(L"changed", document.Read(L"Menu+01", L"name", L""));
    }
}

TEST_F(SettingsDocumentTest, AFileThatCouldNotBeReadIsNotReplacedUntilItIsRead) {
    const std::string settings = "[Menu+01]\r\nname=Tools\r\n";
    Put(path_, settings);
    HANDLE lock = CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SettingsDocument document;
    FileError error;
    EXPECT_EQ(SettingsDocument::LoadStatus::Unreadable, document.Load(path_, &error));
    CloseHandle(lock);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), error.code);
    document.Write(L"Menu+01", L"en", L"0");
    EXPECT_EQ(error.code, document.Save(path_).code);
    EXPECT_EQ(settings, Disk(path_));
    ASSERT_EQ(SettingsDocument::LoadStatus::Loaded, document.Load(path_));
    document.Write(L"Menu+01", L"en", L"0");
    EXPECT_FALSE(document.Save(path_));
    EXPECT_EQ(settings + "en=0\r\n", Disk(path_));
}

TEST_F(SettingsDocumentTest, KillingAProgramThatSavesLeavesTheOldOrTheNewFileWhole) {
    std::wstring first, second;
    for (int i = 0; i < 3000; ++i) {
        first += L"[menu+:01:" + std::to_wstring(i) + L"]\r\ntype=101\r\npth=C:\\first\r\n";
        second += L"[wndctx" + std::to_wstring(i) + L"]\r\n0=second \x0416\r\n1=.\r\n";
    }
    const std::string old = Bytes(first, TextEncoding::Ansi);
    const std::string now = Bytes(second, TextEncoding::Utf16LE);
    WriteFile(folder_.File("first.ini"), old);
    WriteFile(folder_.File("second.ini"), now);
    Put(path_, old);
    const std::string backup = folder_.File("ov32data.ini.bak");
    auto whole = [&](const std::string& bytes) { return bytes == old || bytes == now; };
    for (int kill = 0; kill < 25; ++kill) {
        DeleteFileA(backup.c_str());
        Process saver;
        ASSERT_TRUE(saver.Start("\"" + BinDir() + "\\settings_saver.exe\" \"" +
                                folder_.File("first.ini") + "\" \"" + folder_.File("second.ini") +
                                "\" \"" + win::Narrow(path_) + "\""));
        ASSERT_TRUE(WaitUntil([&] { return FileExists(backup); }, 10000)) << "saving";
        PumpFor(static_cast<DWORD>(kill * 7 % 31));  // a different moment of a save each time
        saver.Kill();
        EXPECT_TRUE(whole(Disk(path_))) << "kill " << kill << ": " << Disk(path_).size();
        EXPECT_TRUE(!FileExists(backup) || whole(ReadFile(backup))) << "kill " << kill;
    }
}
