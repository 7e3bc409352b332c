#include "model/ItemOrder.h"

#include <algorithm>

namespace orvale {

std::vector<BarNode*> itemOrder(const std::vector<FoundItem>& found,
                                const std::vector<BarNode*>& rows) {
    // Each unlisted item with the listed item before it (null at the front).
    struct Unlisted {
        BarNode* first;
        BarNode* after;
    };
    std::vector<Unlisted> unlisted;
    BarNode* lastListed = nullptr;
    for (const FoundItem& item : found) {
        if (item.listed) {
            lastListed = item.first;
        } else {
            unlisted.push_back({item.first, lastListed});
        }
    }

    std::vector<BarNode*> order;
    auto unlistedAfter = [&](BarNode* listed) {
        for (const Unlisted& u : unlisted) {
            if (u.after == listed) order.push_back(u.first);
        }
    };
    unlistedAfter(nullptr);
    for (BarNode* row : rows) {
        order.push_back(row);
        unlistedAfter(row);
    }
    for (const Unlisted& u : unlisted) {
        if (std::find(order.begin(), order.end(), u.first) == order.end()) {
            order.push_back(u.first);
        }
    }
    return order;
}

}  // namespace orvale
