#pragma once
// The Settings dialog's commands: its pages, the label-mode boxes, "Show
// Passwords", clearing the stored reports, showing every node again, the
// management namespace, resetting the network, and how many nodes "Scan all
// PCs" collects at once.

#include "core/program_state.h"

namespace vantrel {

// The label-mode check boxes.
enum class LabelModeBox { Ip, Name, IpName };

// "Settings" (Configure menu and button): shows the dialog as it was left.
void openSettingsDialog(ProgramState& state);
void selectSettingsPage(ProgramState& state, SettingsPage page);

// A label-mode box was clicked (or pressed) and now has the value `ticked`:
// a ticked box sets its mode; the other two boxes are unticked in any case.
void labelModeBoxClicked(ProgramState& state, LabelModeBox box, bool ticked);
void setShowPasswords(ProgramState& state, bool show);

// "Clear": deletes every node's report file; missing or locked files are skipped.
void clearDataCache(ProgramState& state);
// "Show": every node becomes an ordinary shown node again.
void showAllNodes(ProgramState& state);
// "Set": the typed namespace, taken as it is. "Cancel": the default namespace.
void setWmiLocation(ProgramState& state);
void cancelWmiLocation(ProgramState& state);
// What "Reset" asks before it does anything, naming the files it deletes.
std::string resetNetworkQuestion(const ProgramFolder& folder);
// "Reset": once the user agrees, forgets the network (the logins and
// connections files are deleted) and ends the program after telling the user
// to start it again; nothing is saved. Answering no changes nothing.
void resetNetwork(ProgramState& state);
// "Scans": how many nodes "Scan all PCs" collects at once, kept within 1 to 64.
void setParallelScans(ProgramState& state, int count);

// "OK" and the close request: hide the dialog.
void settingsDialogOk(ProgramState& state);

}  // namespace vantrel
