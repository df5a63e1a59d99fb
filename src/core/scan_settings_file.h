#pragma once
// "scans.ini": how many nodes "Scan all PCs" collects at once, one number on
// one line. Kept apart from "vantrel.ini", whose nine lines stay as they are,
// and handled the same way: read at start-up, written at exit.

#include "core/program_state.h"

namespace vantrel {

// A missing or unreadable file, or a value outside 1 to 64, leaves the setting as it is.
void loadScanSettings(ProgramState& state);
// Written only when it says something: a value other than the default, or a
// file that is there already. A file that cannot be read is not replaced.
bool saveScanSettings(const ProgramState& state);

}  // namespace vantrel
