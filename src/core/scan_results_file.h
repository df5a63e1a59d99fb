#pragma once
// "results.ini": why each node's last scan ended as it did, two lines per node
// (node name, last result), no header, no count. Kept apart from "lg.ini",
// whose seven lines per node stay as they are; read at start-up after the
// node table and written with it.

#include <filesystem>
#include <string>

#include "core/program_state.h"

namespace vantrel {

// A result is a line of text the program wrote; a larger file was not.
inline constexpr std::uintmax_t kMaxResultsFileBytes = 4u << 20;

std::string formatResultsFile(const NodeTable& table);

// Gives each node of the table the result stored under its name. A file that
// is missing, unreadable or too large leaves the results empty.
void loadScanResults(ProgramState& state);
// Writes the results of every node that has one; true when nothing was lost.
bool saveScanResults(const ProgramState& state);

}  // namespace vantrel
