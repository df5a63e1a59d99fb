#pragma once
// The nodes of a program folder as an export shows them: the node table's
// entry, the last scan (from the inventory store when it holds one, else
// the report on disk) and its components. Reading never writes the folder.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/node_table.h"
#include "core/program_folder.h"
#include "store/hardware_components.h"

namespace vantrel {

struct ExportNode {
    std::string name;
    std::string displayName;
    std::string address;
    std::string status;  // "Scanned", "Access denied", "Not scanned"
    std::optional<std::chrono::system_clock::time_point> scanTime;
    std::string lastChange;  // the store's summary of the last scan; empty without a store
    std::optional<std::filesystem::path> reportFile;  // only when it exists
    std::vector<Component> components;
};

// Every node of the table that is not deleted, in table order; with `only`
// not empty, just those named there (exactly or in another letter case).
// The store is read only when the folder already has one.
std::vector<ExportNode> gatherExportNodes(const ProgramFolder& folder, const NodeTable& table,
                                          const std::vector<std::string>& only);

// The components of one category, joined by "; " (the index's columns).
std::string componentNames(const ExportNode& node, std::string_view category);

// "2026-12-11T06:00:00Z", empty for none.
std::string isoTime(const std::optional<std::chrono::system_clock::time_point>& time);

}  // namespace vantrel
