// The help page beside the program lists exactly the key tokens the player knows: a token it
// lists must type what it says, and a token the program knows must be findable there.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "Harness.h"
#include "actions/KeySequence.h"

using namespace testing_support;

namespace {

std::string Unescape(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto& entity : entities) {
        for (size_t at = text.find(entity.first); at != std::string::npos;
             at = text.find(entity.first, at + 1)) {
            text.replace(at, std::strlen(entity.first), entity.second);
        }
    }
    return text;
}

// Every <code> text inside the element with the given id (a table).
std::multiset<std::string> CodesInTable(const std::string& page, const std::string& id) {
    std::multiset<std::string> codes;
    const size_t start = page.find("id=\"" + id + "\"");
    const size_t end = page.find("</table>", start);
    if (start == std::string::npos || end == std::string::npos) return codes;
    for (size_t at = page.find("<code>", start); at < end; at = page.find("<code>", at)) {
        at += 6;
        const size_t close = page.find("</code>", at);
        codes.insert(Unescape(page.substr(at, close - at)));
    }
    return codes;
}

}  // namespace

TEST(HelpPage, ItsTokenTableListsEveryKeyTokenOnceAndNothingElse) {
    const std::string page = ReadFile(BinDir() + "\\ovehelp.htm");
    ASSERT_FALSE(page.empty()) << "the build puts ovehelp.htm beside the program";
    const std::multiset<std::string> listed = CodesInTable(page, "key-tokens");

    std::set<std::string> known;
    for (const orvale::KeyToken& token : orvale::KeyTokenTable) known.insert(Ansi(token.text));
    for (const std::string& token : known) {
        EXPECT_EQ(1u, listed.count(token)) << token << " is listed once";
    }
    for (const std::string& token : listed) {
        EXPECT_EQ(1u, known.count(token)) << token << " is not a token of the program";
    }
}
