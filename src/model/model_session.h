#pragma once
// Plugs the virtual PC into showing a node: the model reset before the tree
// is rebuilt, the builders while the report loads, one picture after.

#include "collect/hardware_session.h"
#include "model/builders.h"

namespace vantrel::model {

// target (and the model and tree it names) must outlive the session's use.
void attachModel(HardwareSession& session, BuildTarget& target);

}  // namespace vantrel::model
