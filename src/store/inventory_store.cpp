#include "store/inventory_store.h"

#include "store/store_error.h"

namespace vantrel {

ScanChanges InventoryStore::compare(std::string_view node, int olderNumber, int newerNumber) {
    auto load = [&](int number) {
        auto scan = loadScan(node, number);
        if (!scan) throw StoreError(std::string(node) + " has no scan " + std::to_string(number));
        return std::move(*scan);
    };
    const StoredScan older = load(olderNumber);
    const StoredScan newer = load(newerNumber);
    return compareScans(older.content, newer.content);
}

}  // namespace vantrel
