#pragma once
// The Logins dialog: every node with its login in a grid; the node chosen in
// the grid gets the typed login with "Update".

#include <string>

#include "core/program_state.h"

namespace vantrel {

// The password column: the password itself with "Show Passwords" on, else
// one "*" per character.
std::string passwordCell(const std::string& password, bool showPasswords);

// "Logins" (Administrator menu and button), only with nodes: loads the dialog
// if it is not loaded, and shows it.
void openLoginsDialog(ProgramState& state);
// Fills the grid anew: header and one row per node.
void loadLoginsDialog(ProgramState& state);
// The mouse was pressed on grid row `row`: a node row becomes the selected
// node and fills the fields; the header row changes nothing.
void loginsGridMouseDown(ProgramState& state, int row);
// "Update": the fields become the selected node's login; the grid is refreshed.
void loginsDialogUpdate(ProgramState& state);
// "OK" and "Cancel" hide the dialog; the close button unloads it.
void loginsDialogOk(ProgramState& state);
void loginsDialogCancel(ProgramState& state);
void loginsDialogClose(ProgramState& state);

}  // namespace vantrel
