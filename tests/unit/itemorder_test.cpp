// Where the items the bar editor has no row for end up after its rows were edited.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "model/ItemOrder.h"

using namespace orvale;

// Each item is a letter: capitals have a row, small letters (a separator, an unknown code)
// have none. `rows` are the rows after the edits; a capital not in `found` is a new item.
TEST(ItemOrder, UnlistedItemsFollowTheRowTheyFollowedOrGoToTheEnd) {
    const struct {
        const char* found;
        const char* rows;
        const char* order;
    } cases[] = {
        {"AbCd", "AC", "AbCd"},          // nothing changed
        {"aBc", "B", "aBc"},             // before every row: stays in front
        {"AbC", "CA", "CAb"},            // a moved row takes what followed it along
        {"AbcD", "DA", "DAbc"},          // ... all of it
        {"AbCdE", "CA", "CdAb"},         // a removed row leaves the bar
        {"AbC", "C", "Cb"},              // its row removed: to the end
        {"aBcDe", "D", "aDec"},          // ... after those that still follow a row
        {"AbCd", "", "bd"},              // every row removed: in their order
        {"Ab", "AN", "AbN"},             // a new row goes where it was put
        {"Ab", "NA", "NAb"},
        {"ab", "", "ab"},                // no rows at all
        {"", "N", "N"},                  // an empty bar
    };
    std::map<char, BarNode> nodes;
    for (const auto& c : cases) {
        auto node = [&](char letter) { return &nodes[letter]; };
        std::vector<FoundItem> found;
        for (const char* l = c.found; *l; ++l) found.push_back({node(*l), std::isupper(*l) != 0});
        std::vector<BarNode*> rows;
        for (const char* l = c.rows; *l; ++l) rows.push_back(node(*l));
        std::string order;
        for (BarNode* n : itemOrder(found, rows)) {
            for (const auto& entry : nodes) {
                if (&entry.second == n) order += entry.first;
            }
        }
        EXPECT_EQ(c.order, order) << c.found << " with rows " << c.rows;
    }
}
