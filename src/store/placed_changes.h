#pragma once
// The changes between two scans, each placed where the model shows it: added
// and changed parts by their entry in the newer report's section, removed
// parts by their entry in the older one.

#include <vector>

#include "collect/placed_change.h"
#include "store/scan_comparison.h"

namespace vantrel {

// Catalogue order; within a category added, changed, then removed, each in entry order.
std::vector<PlacedChange> placeChanges(const ScanContent& older, const ScanContent& newer);

}  // namespace vantrel
