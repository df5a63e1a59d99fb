#pragma once
// Showing a node from its stored report, without reaching it: the model reset,
// the hardware tree's skeleton, the report loaded through the builders, one
// picture drawn.

#include <functional>

#include "collect/hardware_session.h"
#include "core/program_state.h"

namespace vantrel {

// Shows the current node (state.domain.nodes.currentNode) from its report file.
void showStoredNode(ProgramState& state, HardwareSession& session);

// What the desktop program installs as ProgramState::showCurrentNode. Both
// objects must outlive the returned function.
std::function<void()> makeShowCurrentNode(ProgramState& state, HardwareSession& session);

}  // namespace vantrel
