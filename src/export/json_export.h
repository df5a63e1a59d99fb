#pragma once
// The inventory as one JSON document (schema in docs/export_schema.json):
// every node with its scan time, last change and components.

#include <string>
#include <vector>

#include "export/export_nodes.h"

namespace vantrel {

std::string inventoryJson(const std::vector<ExportNode>& nodes, std::chrono::system_clock::time_point exported);

}  // namespace vantrel
