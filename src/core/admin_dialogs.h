#pragma once
// The Administrator Password dialog (the default login), the Statistics
// dialog (how many nodes, how many scanned) and the About dialog.

#include "core/program_state.h"

namespace vantrel {

inline constexpr const char* kAboutVersionText = "V2.10";

// "Set Administrator Password": shows the default login's dialog.
void openAdminDialog(ProgramState& state);
// "OK": the fields become the default login. "Cancel": hides, keeps the
// typed fields. The close button unloads: the next opening shows empty fields.
void adminDialogOk(ProgramState& state);
void adminDialogCancel(ProgramState& state);
void adminDialogClose(ProgramState& state);

// "Statistics", only with nodes: counts when the dialog loads.
void openStatisticsDialog(ProgramState& state);
void statisticsDialogClose(ProgramState& state);  // unloads it

// "About Vantrel".
void openAboutDialog(ProgramState& state);
void aboutDialogClose(ProgramState& state);  // only hides it

}  // namespace vantrel
