#pragma once
// The changes between two scans, each placed where the model shows it: added
// and changed parts by their entry in the newer report's section, removed
// parts by their entry in the older one.

#include <string>
#include <vector>

#include "store/scan_comparison.h"

namespace vantrel {

enum class ChangeKind { Added, Changed, Removed };

struct PlacedChange {
    std::string category;  // the report's keyword
    ChangeKind kind = ChangeKind::Added;
    int entry = 0;         // from 1; 0 when the part is no entry of the report
    std::string name;      // the part as people read it (the older part for a removed one)
    friend bool operator==(const PlacedChange&, const PlacedChange&) = default;
};

// Catalogue order; within a category added, changed, then removed, each in entry order.
std::vector<PlacedChange> placeChanges(const ScanContent& older, const ScanContent& newer);

}  // namespace vantrel
