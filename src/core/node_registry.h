#pragma once
// Loading and saving the node table, and the per-node login commands of the
// network tree's popup menu with the Login dialog (frmlgin).

#include "core/program_state.h"

namespace vantrel {

// Loads the node table from the logins file and builds both network trees.
void open_lg(ProgramState& state);
// Writes the whole node table to the logins file (exit).
bool savepar(const ProgramState& state);
// Writes the node table as a fresh network: display name := name, enabled := "True".
bool savelg(const ProgramState& state);

// The login the next connection to node i uses: its own, or the default one.
CurrentLogin loginForNode(const ProgramState& state, int node);

// "Set Current Node Login" and the Login dialog's buttons.
void mnuaddlogin_Click(ProgramState& state);
void frmlgin_Command1_Click(ProgramState& state);  // OK
void frmlgin_Command2_Click(ProgramState& state);  // Cancel
void frmlgin_QueryUnload(ProgramState& state);     // close request: hide
// "Reset Current Node Login".
void mnureset_Click(ProgramState& state);

}  // namespace vantrel
