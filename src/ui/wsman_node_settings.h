#pragma once
// A node's connection settings as the WS-Management provider takes them.

#include "core/node_connections.h"
#include "providers/wsman/wsman_provider.h"

namespace vantrel::ui {

// Timeouts and limits stay the provider's own defaults.
wsman::NodeConnectionSettings wsmanSettings(const NodeConnection& connection);

}  // namespace vantrel::ui
