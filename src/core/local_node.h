#pragma once
// Which node of the table is this computer. Its name or its address must say
// so: a node whose name did not resolve is not this computer just because it
// has no address to connect to.

#include <string>
#include <string_view>

#include "core/node_table.h"

namespace vantrel {

// This computer's host name as a node name; "localhost" when it is unknown or
// cannot be a folder name.
std::string localHostName();

// True when `node` stands for this computer: its address is this computer's
// (`localAddress`, or a loopback address), or its name is this computer's
// host name (letter case aside, domains aside).
bool isLocalNode(const NodeRecord& node, std::string_view localAddress);

}  // namespace vantrel
