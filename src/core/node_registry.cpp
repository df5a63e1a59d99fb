#include "core/node_registry.h"

#include <filesystem>
#include <system_error>

#include "core/logins_file.h"
#include "core/network_tree.h"

namespace vantrel {

void open_lg(ProgramState& state) {
    const auto path = state.folder.loginsFile();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        state.TreeView1.setVisible(false);
        state.mnuRescanEnabled = false;
        return;
    }
    state.mnunwscanEnabled = false;
    state.TreeView1.clear();
    state.loginDialog.tree.clear();
    state.ui->doEvents();
    addNetworkRoots(state);
    readLoginsFile(
        path,
        [&state](NodeRecord record) {
            const int i = state.nodes.append(std::move(record));
            addNodeItems(state, i);
        },
        [&state] { state.ui->doEvents(); });
}

bool savepar(const ProgramState& state) {
    return writeLoginsFile(state.folder.loginsFile(), state.nodes, LoginsLayout::Table);
}

bool savelg(const ProgramState& state) {
    return writeLoginsFile(state.folder.loginsFile(), state.nodes, LoginsLayout::FreshNetwork);
}

CurrentLogin loginForNode(const ProgramState& state, int i) {
    const NodeRecord& node = state.nodes.node(i);
    if (!node.loginUser.empty()) return {node.address, node.loginUser, node.loginPassword};
    return {node.address, state.defaultUser, state.defaultPassword};
}

void mnuaddlogin_Click(ProgramState& state) {
    if (state.nodes.nodeCount() == 0) return;
    LoginDialogState& dialog = state.loginDialog;
    dialog.created = true;
    const int current = state.nodes.currentNode;
    if (state.nodes.isNode(current)) {
        // The local computer and hidden nodes have no item here; the fields are still filled.
        if (auto index = dialog.tree.find(nodeItemKey(current))) {
            dialog.tree.setChecked(*index, true);
            dialog.tree.select(*index);
        }
        dialog.Text1 = state.nodes.node(current).loginUser;
        dialog.Text2 = state.nodes.node(current).loginPassword;
    }
    dialog.visible = true;
}

void frmlgin_Command1_Click(ProgramState& state) {
    const int current = state.nodes.currentNode;
    if (state.nodes.isNode(current)) {
        state.nodes.node(current).loginUser = state.loginDialog.Text1;
        state.nodes.node(current).loginPassword = state.loginDialog.Text2;
        if (auto index = state.TreeView1.find(nodeItemKey(current))) state.TreeView1.setImage(*index, "pw");
    }
    state.loginDialog.visible = false;
}

void frmlgin_Command2_Click(ProgramState& state) { state.loginDialog.visible = false; }

void frmlgin_QueryUnload(ProgramState& state) { state.loginDialog.visible = false; }

void mnureset_Click(ProgramState& state) {
    if (state.nodes.nodeCount() == 0 || !state.nodes.isNode(state.nodes.currentNode)) return;
    if (state.ui->messageBox("Reset Login and Password?", kMessageTitle, MsgIcon::Question, MsgButtons::YesNo) !=
        MsgAnswer::Yes)
        return;
    NodeRecord& node = state.nodes.node(state.nodes.currentNode);
    node.loginUser.clear();
    node.loginPassword.clear();
}

}  // namespace vantrel
