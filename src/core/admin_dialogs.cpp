#include "core/admin_dialogs.h"

#include <string>

namespace vantrel {

void openAdminDialog(ProgramState& state) {
    state.windows.adminDialog.created = true;
    state.windows.adminDialog.visible = true;
}

void adminDialogOk(ProgramState& state) {
    AdminDialogState& dialog = state.windows.adminDialog;
    state.domain.settings.defaultUser = dialog.userField;
    state.domain.settings.defaultPassword = dialog.passwordField;
    dialog.visible = false;
}

void adminDialogCancel(ProgramState& state) { state.windows.adminDialog.visible = false; }

void adminDialogClose(ProgramState& state) {
    AdminDialogState& dialog = state.windows.adminDialog;
    dialog = AdminDialogState{};
}

void openStatisticsDialog(ProgramState& state) {
    const NodeTable& nodes = state.domain.nodes;
    if (nodes.nodeCount() == 0) return;
    StatisticsDialogState& dialog = state.windows.statisticsDialog;
    if (!dialog.loaded) {
        int scanned = 0;
        for (int i = 1; i <= nodes.nodeCount(); ++i) scanned += nodes.node(i).scanStatus == ScanStatus::Scanned;
        // A number as text: a leading space stands for the sign of a positive value.
        dialog.nodeCountText = " " + std::to_string(nodes.nodeCount());
        dialog.scannedCountText = std::to_string(scanned);
        dialog.loaded = true;
    }
    dialog.visible = true;
}

void statisticsDialogClose(ProgramState& state) { state.windows.statisticsDialog = StatisticsDialogState{}; }

void openAboutDialog(ProgramState& state) { state.windows.aboutDialog.visible = true; }

void aboutDialogClose(ProgramState& state) { state.windows.aboutDialog.visible = false; }

}  // namespace vantrel
