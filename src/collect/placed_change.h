#pragma once
// A change of a node's hardware between two scans, placed at the report
// entry that shows the part: what the hardware tree and the model mark.

#include <string>

namespace vantrel {

enum class ChangeKind { Added, Changed, Removed };

struct PlacedChange {
    std::string category;  // the report's keyword
    ChangeKind kind = ChangeKind::Added;
    int entry = 0;         // from 1; 0 when the part is no entry of the report
    std::string name;      // the part as people read it (the older part for a removed one)
    friend bool operator==(const PlacedChange&, const PlacedChange&) = default;
};

}  // namespace vantrel
