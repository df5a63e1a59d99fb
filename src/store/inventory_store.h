#pragma once
// The history of every node's scans, behind one interface so that a shared
// server database can stand beside the embedded one. A scan keeps its
// report text and the answers behind it; scans of a node are numbered from 1
// in the order they were recorded.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collect/scan_recorder.h"
#include "store/scan_comparison.h"

namespace vantrel {

struct ScanInfo {
    int number = 0;
    std::chrono::system_clock::time_point time;
    std::string source;   // scanSourceText
    std::string summary;  // the change against the node's previous scan, one line
};

struct StoredScan {
    ScanInfo info;
    std::string node;
    std::string address;
    ScanContent content;
};

// A node's last recorded scan.
struct NodeLastScan {
    std::string node;
    ScanInfo info;
};

struct RecordedScan {
    int number = 0;
    // The node's previous scan and the changes since; none for its first.
    std::optional<ScanInfo> previous;
    std::optional<ScanChanges> changes;
};

class InventoryStore {
public:
    virtual ~InventoryStore() = default;

    // Keeps the scan in one transaction. Throws StoreError.
    virtual RecordedScan recordScan(const CollectedScan& scan) = 0;
    // The node's scans, oldest first. Throws StoreError.
    virtual std::vector<ScanInfo> listScans(std::string_view node) = 0;
    // The scan, or nothing when the node has no scan of that number.
    // Throws StoreError, also for contents that are not ours.
    virtual std::optional<StoredScan> loadScan(std::string_view node, int number) = 0;
    // Every node with a scan, in name order. Throws StoreError.
    virtual std::vector<std::string> nodes() = 0;
    // The last scan of every node with one, in name order, in one query:
    // what a console asks again and again to see others' scans. Throws StoreError.
    virtual std::vector<NodeLastScan> lastScans() = 0;

    // Throws StoreError when either scan is missing.
    ScanChanges compare(std::string_view node, int olderNumber, int newerNumber);
};

}  // namespace vantrel
