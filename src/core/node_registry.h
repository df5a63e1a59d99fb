#pragma once
// Loading and saving the node table, and the per-node login commands of the
// network tree's popup menu with the Login dialog.

#include "core/program_state.h"

namespace vantrel {

// Loads the node table from the logins file and builds both network trees. A
// file that exists but cannot be read is marked unreadable.
void loadNodeTable(ProgramState& state);
// Writes the whole node table to the logins file, and each node's last
// result beside it (exit, and before the restart a network scan asks for).
// A logins file that could not be read is never written; returns whether
// the table was written.
bool saveNodeTable(const ProgramState& state);

// The login the next connection to node i uses: its own, or the default one.
CurrentLogin loginForNode(const ProgramState& state, int node);

// "Set Current Node Login" and the Login dialog's buttons.
void setCurrentNodeLogin(ProgramState& state);
void loginDialogOk(ProgramState& state);
void loginDialogCancel(ProgramState& state);
void loginDialogClose(ProgramState& state);  // the close request only hides it
// "Reset Current Node Login".
void resetCurrentNodeLogin(ProgramState& state);

}  // namespace vantrel
