#pragma once
// Naming a scan on the command line: its number, or a time (UTC) for the
// last scan taken at or before it. A date or minute means its end.

#include <optional>
#include <string_view>
#include <vector>

#include "store/inventory_store.h"

namespace vantrel {

// The number of the scan `text` names among `scans` (oldest first), or
// nothing when it names none or is neither a number nor a time.
std::optional<int> selectScan(const std::vector<ScanInfo>& scans, std::string_view text);

}  // namespace vantrel
