#pragma once
// Reads a node's report back section by section: each section is placed in
// NodeReport and handed at once to its builders. A section is found only
// where the catalogue order expects it; the loader never searches ahead.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "collect/hardware_session.h"
#include "collect/node_report.h"
#include "core/program_state.h"

namespace vantrel {

// How a load ended. Every end but Complete is silent for the user: what was
// built before stays shown.
enum class LoadEnd {
    Complete,
    NoFile,           // no report (never scanned), or a node name that is no folder name
    EndedEarly,       // the file ends (or cannot be read) before the last category
    CountOutOfRange,  // a count line beyond the 16-bit range
    TooManyRows,      // a 256th entry of a row-placed section
    BuilderFailed,    // a builder threw: loading stops there
};

// The count of a count line: its leading decimal number rounded to the
// nearest integer (halves to even), 0 when it has none; nothing when the
// number is above 32767. Numbers below the 16-bit range come back as -32768:
// every count of 0 or less makes the section empty.
std::optional<int> parseCount(std::string_view line);

LoadEnd loadReportFile(const std::filesystem::path& file, NodeReport& report, const BuilderTable& builders);

// Why `file` cannot be shown as a report, for a command that names one:
// nothing when it can. A file whose first line is not the first section's
// keyword is no report of ours, though the loader would read it as one with
// every section missing.
std::optional<std::string> reportFileProblem(const std::filesystem::path& file);

// Loads the current node's report into session.report with session.builders.
LoadEnd LoadReport(const ProgramState& state, HardwareSession& session);

}  // namespace vantrel
