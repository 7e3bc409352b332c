// The order of a bar's items once its editor has reordered, removed and added the items it
// lists. The editor lists no row for some items (the separator, type codes of other versions),
// yet they must not be lost or jump about: each keeps its place after the listed item it
// followed (or at the front, when none came before it). One whose listed item was removed goes
// to the end, in the order such items had.
#pragma once

#include <vector>

#include "model/BarModel.h"

namespace orvale {

// One item of the bar as the editor found it: its Type node, and whether it has a row.
struct FoundItem {
    BarNode* first;
    bool listed;
};

// The runs for relinkBar: `rows` (the listed items in their order after the edits, new ones
// included, removed ones left out), with the unlisted items of `found` placed among them.
std::vector<BarNode*> itemOrder(const std::vector<FoundItem>& found,
                                const std::vector<BarNode*>& rows);

}  // namespace orvale
