#pragma once
// The changes between two scans marked in the hardware tree as the newer
// report built it: added and changed devices say so after their text,
// removed ones are listed under their category with when they were last seen.

#include <string>
#include <vector>

#include "collect/placed_change.h"
#include "core/tree_control.h"

namespace vantrel {

void markTreeChanges(TreeControl& tree, const std::vector<PlacedChange>& changes, const std::string& lastSeen);

}  // namespace vantrel
