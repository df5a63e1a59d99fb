#pragma once
// The collection run: the 33 collectors in catalogue order, each announced to
// the session's listener, then the report written in one piece.

#include "collect/hardware_session.h"
#include "core/program_state.h"

namespace vantrel {

// Collects the current node's hardware into session.ReportText and writes the
// report. True when the report was written and the node marked "Scanned".
// When the report cannot be written the node keeps its status and its old
// report, and the status text says so. A failed connection or query ends the
// run before anything is written: WmiError reaches the caller.
bool CollectHardware(ProgramState& state, HardwareSession& session);

// The collectors alone: session.ReportText holds the report afterwards.
// Throws WmiError like CollectHardware.
void collectReportText(ProgramState& state, HardwareSession& session);

// Replaces the current node's report file (or session.reportFileOverride)
// with session.ReportText and a final empty line, atomically. The node's
// folder is made when missing, if its name is a safe folder name.
bool WriteReport(ProgramState& state, HardwareSession& session);

}  // namespace vantrel
