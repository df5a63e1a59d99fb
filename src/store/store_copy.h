#pragma once
// Moving a history from one store to another (a home folder's into the
// shared one): every node's scans in their order, each recorded anew so that
// the target numbers them after what it holds already.

#include <cstdint>

#include "store/inventory_store.h"

namespace vantrel {

struct CopyCount {
    std::int64_t copied = 0;
    std::int64_t alreadyThere = 0;  // the same node, time and source: not copied twice
    std::int64_t unreadable = 0;    // a source that is not ours: left behind
};

// Throws StoreError; what was copied before the failure stays copied, and
// running it again copies the rest.
CopyCount copyScans(InventoryStore& from, InventoryStore& to);

}  // namespace vantrel
