#pragma once
// The network commands: "Network Scan" and "Re-Scan" add the computers of
// the network that the node table does not know yet, then resolve the
// nodes' addresses. Progress shows in the scan dialog.

#include <string>
#include <vector>

#include "core/program_state.h"

namespace vantrel {

// What a network command changed, for whoever reports it (the command line).
struct NetworkScanReport {
    bool listed = false;                   // the network could be listed
    std::vector<std::string> added;        // computers new to the node table
    std::vector<std::string> keptAddress;  // names that did not resolve: their last known address stays
    std::vector<std::string> unresolved;   // names that did not resolve and have no address
};

// "Network Scan" (Network menu, the "Scan" button, the network tree's popup).
// A computer the table knows keeps its record; new ones are added after the
// known ones; nodes not heard this time stay. A listing that fails changes
// nothing at all.
NetworkScanReport networkScan(ProgramState& state);
// "Re-Scan" (Network menu and button).
NetworkScanReport rescan(ProgramState& state);

// The steps the two commands share.
// Lists the network into the node table and the scan dialog's grid; false
// when the listing failed or came back empty (nothing changed then).
bool enumerateNodes(ProgramState& state, NetworkScanReport& report);
// Resolves the address of every node; a name that does not resolve keeps
// the node's last known address.
void resolveAllNodes(ProgramState& state, NetworkScanReport& report);

}  // namespace vantrel
