// The help page beside the program lists exactly the key tokens the player knows: a token it
// lists must type what it says, and a token the program knows must be findable there.
#include <gtest/gtest.h>

#include <string>

#include "Harness.h"
#include "actions/KeySequence.h"

using namespace testing_support;

TEST(HelpPage, ItsTokenTableListsEveryKeyTokenOnceAndNothingElse) {
    const std::string page = ReadFile(BinDir() + "\\ovehelp.htm");
    const size_t start = page.find("id=\"key-tokens\""), end = page.find("</table>", start);
    ASSERT_NE(std::string::npos, end) << "the build puts ovehelp.htm, with its table, beside us";
    const std::string table = page.substr(start, end - start);
    auto count = [&](const std::string& text) {
        size_t found = 0;
        for (size_t at = table.find(text); at != std::string::npos; at = table.find(text, at + 1)) {
            ++found;
        }
        return found;
    };
    for (const orvale::KeyToken& token : orvale::KeyTokenTable) {
        std::string html;
        for (char c : win::Narrow(token.text)) {
            html += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
        }
        EXPECT_EQ(1u, count("<code>" + html + "</code>")) << html << " is listed once";
    }
    EXPECT_EQ(static_cast<size_t>(orvale::kKeyTokenCount), count("<code>")) << "and nothing else";
}
