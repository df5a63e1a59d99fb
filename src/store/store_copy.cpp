#include "store/store_copy.h"

#include <algorithm>

namespace vantrel {

CopyCount copyScans(InventoryStore& from, InventoryStore& to) {
    CopyCount count;
    for (const auto& node : from.nodes()) {
        const auto there = to.listScans(node);
        for (const auto& info : from.listScans(node)) {
            const bool copiedBefore = std::any_of(there.begin(), there.end(), [&](const ScanInfo& t) {
                return t.time == info.time && t.source == info.source;
            });
            if (copiedBefore) {
                ++count.alreadyThere;
                continue;
            }
            const auto source = scanSourceFromText(info.source);
            auto stored = source ? from.loadScan(node, info.number) : std::nullopt;
            if (!stored) {
                ++count.unreadable;
                continue;
            }
            CollectedScan scan;
            scan.node = node;
            scan.address = stored->address;
            scan.source = *source;
            scan.time = info.time;
            scan.reportText = std::move(stored->content.reportText);
            scan.answers = std::move(stored->content.answers);
            to.recordScan(scan);
            ++count.copied;
        }
    }
    return count;
}

}  // namespace vantrel
