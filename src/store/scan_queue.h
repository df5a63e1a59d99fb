#pragma once
// Scans waiting for the shared store: kept in a SQLite file of the program
// folder while the server cannot be reached, and handed over oldest first
// once it can. A scan leaves the queue only after the store took it, so a
// failure on the way costs at worst a scan sent twice, never one lost.

#include <cstdint>
#include <filesystem>

#include "collect/scan_recorder.h"
#include "store/inventory_store.h"
#include "store/sqlite/sqlite_database.h"

namespace vantrel {

class ScanQueue {
public:
    // Opens (creating) the file. Throws StoreError.
    explicit ScanQueue(const std::filesystem::path& file);

    void push(const CollectedScan& scan);
    std::int64_t size();
    // Records the waiting scans into `store` in the order they came; the
    // first failure stops it and is thrown (StoreError), the rest wait on.
    // How many were delivered.
    std::int64_t deliver(InventoryStore& store);

private:
    sqlite::Database db_;
};

}  // namespace vantrel
