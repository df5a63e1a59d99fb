#pragma once
// Who answers a scan in both programs: this computer's provider for the
// local node, WS-Management or SSH for every other node, reached as each
// node's connection settings say.

#include "collect/hardware_session.h"
#include "core/node_connections.h"
#include "providers/ssh/ssh_provider.h"
#include "providers/wsman/wsman_provider.h"

namespace vantrel::session {

// The WS-Management settings of a node's connection record.
wsman::NodeConnectionSettings wsmanSettings(const NodeConnection& connection);

// Gives `session` its provider and the step that hands each node's
// connection settings to it before the node is contacted. Gives the SSH
// provider among them, whose host keys the desktop program asks about.
std::shared_ptr<ssh::SshProvider> attachScanProviders(HardwareSession& session);

}  // namespace vantrel::session
