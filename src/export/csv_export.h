#pragma once
// The inventory as CSV (RFC 4180, UTF-8, CR LF): one row per component, with
// the node, its category, its position in that category (from 1), the name
// people read, the key that identifies it across scans, and its details as
// "Property=Value" pairs joined by "; ".

#include <string>
#include <vector>

#include "export/export_nodes.h"

namespace vantrel {

std::string inventoryCsv(const std::vector<ExportNode>& nodes);

// One field: quoted when it holds a comma, a quote or a line break. Text a
// spreadsheet would run as a formula (=, +, -, @, tab, CR first) is led by an
// apostrophe, since node names and hardware texts come from the network.
std::string csvField(std::string_view text);

}  // namespace vantrel
