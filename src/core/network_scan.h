#pragma once
// The network commands: "Network Scan" builds the node table from the
// computers of the network, "Re-Scan" appends the ones it does not know yet;
// both then resolve the nodes' addresses. Progress shows in the scan dialog.

#include "core/program_state.h"

namespace vantrel {

// "Network Scan" (Network menu, the "Scan" button, the network tree's popup).
void networkScan(ProgramState& state);
// "Re-Scan" (Network menu and button).
void rescan(ProgramState& state);

// The steps the two commands share.
// Lists the network into the node table and the scan dialog's grid; false
// when the listing failed or came back empty (nothing changed then).
bool enumerateNodes(ProgramState& state);
// Resolves the address of every node.
void resolveAllNodes(ProgramState& state);

}  // namespace vantrel
