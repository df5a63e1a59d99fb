#include "core/node_registry.h"

#include <filesystem>
#include <system_error>

#include "core/logins_file.h"
#include "core/network_tree.h"
#include "core/scan_results_file.h"

namespace vantrel {

void loadNodeTable(ProgramState& state) {
    const auto path = state.folder.loginsFile();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        state.windows.main.networkTree.setVisible(false);
        state.windows.main.rescanEnabled = false;
        return;
    }
    state.windows.main.networkScanEnabled = false;
    state.windows.main.networkTree.clear();
    state.windows.loginDialog.nodeTree.clear();
    state.ui->doEvents();
    addNetworkRoots(state);
    const FileRead read = readLoginsFile(
        path,
        [&state](NodeRecord record) {
            const int i = state.domain.nodes.append(std::move(record));
            addNodeItems(state, i);
        },
        [&state] { state.ui->doEvents(); });
    state.domain.unreadableFiles.logins = read == FileRead::Failed;
    loadScanResults(state);
    for (int i = 1; i <= state.domain.nodes.nodeCount(); ++i) updateNodeToolTip(state, i);
}

bool saveNodeTable(const ProgramState& state) {
    if (state.domain.unreadableFiles.logins) return false;
    const bool written = writeLoginsFile(state.folder.loginsFile(), state.domain.nodes);
    saveScanResults(state);
    return written;
}

CurrentLogin loginForNode(const ProgramState& state, int i) {
    const NodeRecord& node = state.domain.nodes.node(i);
    if (!node.loginUser.empty()) return {node.address, node.loginUser, node.loginPassword};
    return {node.address, state.domain.settings.defaultUser, state.domain.settings.defaultPassword};
}

void setCurrentNodeLogin(ProgramState& state) {
    if (state.domain.nodes.nodeCount() == 0) return;
    LoginDialogState& dialog = state.windows.loginDialog;
    dialog.created = true;
    const int current = state.domain.nodes.currentNode;
    if (state.domain.nodes.isNode(current)) {
        // The local computer and hidden nodes have no item here; the fields are still filled.
        if (auto index = dialog.nodeTree.find(nodeItemKey(current))) {
            dialog.nodeTree.setChecked(*index, true);
            dialog.nodeTree.select(*index);
        }
        const NodeRecord& node = state.domain.nodes.node(current);
        dialog.userField = node.loginUser;
        dialog.passwordField = node.loginPassword;
        const NodeConnection connection = state.domain.connections.forNode(node.name);
        dialog.trustFileField = connection.trustFile;
        dialog.transportChoice = connection.effectiveTransport();
    }
    dialog.visible = true;
}

void loginDialogOk(ProgramState& state) {
    const int current = state.domain.nodes.currentNode;
    if (state.domain.nodes.isNode(current)) {
        const LoginDialogState& dialog = state.windows.loginDialog;
        NodeRecord& node = state.domain.nodes.node(current);
        node.loginUser = dialog.userField;
        node.loginPassword = dialog.passwordField;
        // Settings left as shown keep what the file said, even a transport this program does not know.
        const NodeConnection stored = state.domain.connections.forNode(node.name);
        if (dialog.transportChoice != stored.effectiveTransport() || dialog.trustFileField != stored.trustFile)
            state.domain.connections.set(node.name, NodeConnection{dialog.transportChoice, dialog.trustFileField});
        TreeControl& tree = state.windows.main.networkTree;
        if (auto index = tree.find(nodeItemKey(current))) tree.setImage(*index, ImageKey::ComputerWithLogin);
    }
    state.windows.loginDialog.visible = false;
}

void loginDialogCancel(ProgramState& state) { state.windows.loginDialog.visible = false; }

void loginDialogClose(ProgramState& state) { state.windows.loginDialog.visible = false; }

void resetCurrentNodeLogin(ProgramState& state) {
    if (state.domain.nodes.nodeCount() == 0 || !state.domain.nodes.isNode(state.domain.nodes.currentNode)) return;
    if (state.ui->messageBox("Reset Login and Password?", kMessageTitle, MsgIcon::Question, MsgButtons::YesNo) !=
        MsgAnswer::Yes)
        return;
    NodeRecord& node = state.domain.nodes.node(state.domain.nodes.currentNode);
    node.loginUser.clear();
    node.loginPassword.clear();
}

}  // namespace vantrel
