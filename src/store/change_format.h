#pragma once
// The changes between two scans as people read them and as programs read
// them (the JSON a change command gets on its standard input, and diff --json).

#include <string>

#include "store/inventory_store.h"

namespace vantrel {

struct ChangeHeader {
    std::string node;
    std::string address;
    ScanInfo older;
    ScanInfo newer;
};

// "2026-12-11 06:00:00 UTC"
std::string timeText(std::chrono::system_clock::time_point time);

// One block per category: "Memory", then "  - removed: ...", "  + added: ...",
// "  ~ changed: ... (Capacity 8 -> 16)". "No change." when there is none.
std::string changesToText(const ScanChanges& changes);

// { "node", "address", "from": {scan, time, source}, "to": {...},
//   "changes": [ { "category", "added": [...], "removed": [...], "changed": [ {before, after} ] } ] }
std::string changesToJson(const ChangeHeader& header, const ScanChanges& changes);

}  // namespace vantrel
