#pragma once
// The skeleton of the hardware tree: the computer's root item and one
// item per category, under which the builders later add the devices.

#include <array>
#include <string_view>
#include <vector>

#include "core/image_key.h"
#include "core/program_state.h"

namespace vantrel {

inline constexpr const char* kHardwareRootKey = "1 node";

struct HardwareTreeNode {
    std::string_view key;
    std::string_view text;
    ImageKey image;
    std::string_view keyword;  // the report section that fills it
};

// The category items in the order the tree shows them.
extern const std::array<HardwareTreeNode, 32> kHardwareTreeNodes;

// The keys of the category items that a report section fills, in tree order:
// none for "Motherboard" and "Connectors", two for "Enclosure".
std::vector<std::string_view> hardwareTreeKeys(std::string_view keyword);

// Empties the hardware tree and adds the root, labelled by NodeLabelMode, and the 32
// category items. On failure (an unknown label mode leaves the root without
// its key) the tree keeps what was added and the user is told.
void buildHardwareTree(ProgramState& state);
// The same for a computer that is not in the node table (this computer, when
// the table does not hold it).
void buildHardwareTree(ProgramState& state, const NodeRecord& node);

}  // namespace vantrel
