#pragma once
// What a console sees of the scans other programs keep in the shared store:
// every node's last scan, asked for again and again, turned into the node
// table's statuses; and a node's report brought up to date from the store
// before the node is shown. The node table itself stays this console's own.

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/node_table.h"
#include "core/program_folder.h"
#include "store/inventory_store.h"

namespace vantrel {

class SharedInventoryView {
public:
    // Connects on first use; `target` names the store as storeTarget gives it.
    SharedInventoryView(ProgramFolder folder, std::string target);
    ~SharedInventoryView();

    // Every node's last scan. Throws StoreError. Safe from any thread.
    std::vector<NodeLastScan> readLastScans();
    // When the store holds a scan of `node` newer than its report file (or
    // the node has none), writes that scan's report as the node's report;
    // true when it did. Throws StoreError; a report that cannot be written
    // is left as it was (false).
    bool refreshReport(const std::string& node);
    // The last call reached the store.
    bool reachable();

private:
    InventoryStore& store();

    ProgramFolder folder_;
    std::string target_;
    std::mutex mutex_;
    std::unique_ptr<InventoryStore> store_;
    bool reachable_ = false;
};

// The nodes of the table the store has scans of that this console has not
// scanned (status "False") become "Scanned", their last result saying when
// and how the store's scan was made. Gives the numbers of the nodes changed.
std::vector<int> takeLastScans(NodeTable& table, const std::vector<NodeLastScan>& last);

// "Scanned elsewhere over SSH, 2026-12-11 09:30 UTC".
std::string scannedElsewhereText(const ScanInfo& scan);

}  // namespace vantrel
