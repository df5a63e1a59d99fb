#include "core/settings_dialog.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vantrel {

void openSettingsDialog(ProgramState& state) {
    state.windows.settingsDialog.created = true;
    state.windows.settingsDialog.visible = true;
}

void selectSettingsPage(ProgramState& state, SettingsPage page) { state.windows.settingsDialog.page = page; }

void labelModeBoxClicked(ProgramState& state, LabelModeBox box, bool ticked) {
    SettingsDialogState& dialog = state.windows.settingsDialog;
    static constexpr NodeLabelMode kModes[] = {NodeLabelMode::Ip, NodeLabelMode::Name, NodeLabelMode::IpName};
    if (ticked) state.domain.settings.nodeLabelMode = kModes[static_cast<int>(box)];
    dialog.ipLabelChecked = box == LabelModeBox::Ip && ticked;
    dialog.nameLabelChecked = box == LabelModeBox::Name && ticked;
    dialog.ipNameLabelChecked = box == LabelModeBox::IpName && ticked;
}

void setShowPasswords(ProgramState& state, bool show) { state.domain.settings.showPasswords = show; }

void clearDataCache(ProgramState& state) {
    const NodeTable& nodes = state.domain.nodes;
    for (int i = 1; i <= nodes.nodeCount(); ++i) {
        const auto file = state.folder.reportFile(nodes.node(i).name);
        if (!file) continue;
        std::error_code ec;
        std::filesystem::remove(*file, ec);
    }
}

void showAllNodes(ProgramState& state) {
    NodeTable& nodes = state.domain.nodes;
    for (int i = 1; i <= nodes.nodeCount(); ++i) nodes.node(i).enabled = NodeEnabled::Shown;
}

void setWmiLocation(ProgramState& state) {
    state.domain.settings.wmiNamespace = state.windows.settingsDialog.namespaceField;
}

void cancelWmiLocation(ProgramState& state) { state.domain.settings.wmiNamespace = kDefaultNamespace; }

std::string resetNetworkQuestion(const ProgramFolder& folder) {
    return "Forget every node of the network?\n\nThis deletes " + folder.loginsFile().string() + " (the nodes and their logins) and " +
           folder.connectionsFile().string() +
           " (how each node is reached). Hardware reports stay on disk. The program then ends; start it again and run "
           "\"Network Scan\" to find the nodes anew.";
}

void resetNetwork(ProgramState& state) {
    // Nothing of this can be undone: the user says yes first, knowing what goes.
    if (state.ui->messageBox(resetNetworkQuestion(state.folder), kMessageTitle, MsgIcon::Question, MsgButtons::YesNo) !=
        MsgAnswer::Yes)
        return;
    NodeTable& nodes = state.domain.nodes;
    nodes.clear();
    nodes.currentNode = 0;
    nodes.localNode = 0;
    state.domain.connections.clear();
    std::error_code ec;
    std::filesystem::remove(state.folder.loginsFile(), ec);
    // How the forgotten nodes were reached goes with them.
    std::filesystem::remove(state.folder.connectionsFile(), ec);
    state.ui->doEvents();
    state.ui->messageBox("Restart program to make network changes... ", kMessageTitle, MsgIcon::Exclamation,
                         MsgButtons::Ok);
    state.ended = true;
    state.ui->endProgram();
}

void setParallelScans(ProgramState& state, int count) {
    state.domain.settings.parallelScans = std::clamp(count, kMinParallelScans, kMaxParallelScans);
}

void settingsDialogOk(ProgramState& state) { state.windows.settingsDialog.visible = false; }

}  // namespace vantrel
