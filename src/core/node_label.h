#pragma once
// How a node is labelled by NodeLabelMode: the network trees' items and the
// hardware tree's root.

#include <optional>
#include <string>

#include "core/domain_state.h"
#include "core/node_table.h"

namespace vantrel {

// In the "IPNAME" mode the network trees write "PC-B(10.0.0.2)"; the hardware
// tree's root has a space before the parenthesis: "PC-B (10.0.0.2)".
enum class AddressGap { None, Space };

// The node's label; nothing for a mode the program does not know.
std::optional<std::string> nodeLabel(const NodeRecord& node, NodeLabelMode mode, AddressGap gap = AddressGap::None);

}  // namespace vantrel
