#pragma once
// The desktop program's "Command to run when a node's hardware changed",
// on the Settings dialog's "Inventory" page: one line in the folder's
// "change-command.ini". It is read whenever a change comes, so a command
// set counts from the next scan on, without a restart.

#include <optional>
#include <string>

#include "core/program_state.h"

namespace vantrel {

// The folder's command; empty (none) when there is no file or it cannot be read.
std::string changeCommandSetting(const ProgramFolder& folder);

// Keeps `command` as the folder's setting (empty: none). Throws
// StoreError when it spans several lines or cannot be written.
void saveChangeCommandSetting(const ProgramFolder& folder, const std::string& command);

// "Set": the typed command, without its outer spaces, becomes the setting,
// and the user is told what now runs. Gives the command kept, or nothing
// when it was refused (the user is told why).
std::optional<std::string> setChangeCommandSetting(ProgramState& state, const std::string& typed);

}  // namespace vantrel
