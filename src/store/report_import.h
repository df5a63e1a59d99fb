#pragma once
// Reports written before the store existed become the first scan of their
// node, dated by the file's time, so that the next scan has something to
// be compared with.

#include <vector>

#include "collect/scan_recorder.h"
#include "core/program_folder.h"

namespace vantrel {

// The report file of every node folder in the program folder (safe names
// only, regular files under the size cap, links not followed), by node name.
std::vector<CollectedScan> reportsOnDisk(const ProgramFolder& folder);

}  // namespace vantrel
