#include "core/network_tree.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/command.h"
#include "core/error.h"
#include "core/local_node.h"
#include "core/node_label.h"

namespace vantrel {

namespace {

constexpr const char* kRootText = "Network";

// The node number an item stands for: its tag read as a number (0 for the root).
int nodeOfItem(const TreeControl& tree, std::optional<int> index) {
    if (!index) return 0;
    const std::string& tag = tree.item(*index).tag;
    int value = 0;
    std::from_chars(tag.data(), tag.data() + tag.size(), value);
    return value;
}

void selectCurrentFromTree(ProgramState& state) {
    const TreeControl& tree = state.windows.main.networkTree;
    state.domain.nodes.currentNode = nodeOfItem(tree, tree.selected());
}

void addItem(TreeControl& tree, int node, const std::string& label, ImageKey image, const std::string& toolTip) {
    const int index = tree.add(kNetworkRootKey, TreeRelationship::Child, nodeItemKey(node), label, image);
    tree.setTag(index, std::to_string(node));
    tree.setToolTip(index, toolTip);
}

void makeNodeFolder(const ProgramState& state, const NodeRecord& node) {
    const auto folder = state.folder.nodeFolder(node.name);
    if (!folder) throw FolderError("Node name is not a valid folder name: " + node.name);
    std::error_code ec;
    if (!std::filesystem::is_directory(*folder, ec)) {
        if (!std::filesystem::create_directory(*folder, ec) || ec)
            throw FolderError("Cannot create the folder of node " + node.name + ": " + ec.message());
    }
}

}  // namespace

std::string nodeItemKey(int node) { return "Node1 " + std::to_string(node); }

void addNetworkRoots(ProgramState& state, bool withLoginTree) {
    state.windows.main.networkTree.addRoot(kNetworkRootKey, kRootText, ImageKey::Network);
    if (withLoginTree) state.windows.loginDialog.nodeTree.addRoot(kNetworkRootKey, kRootText, ImageKey::Network);
}

std::string nodeToolTip(const NodeRecord& node) {
    return "Last result: " + (node.lastResult.empty() ? std::string("not scanned yet") : node.lastResult);
}

void updateNodeToolTip(ProgramState& state, int i) {
    if (!state.domain.nodes.isNode(i)) return;
    const std::string text = nodeToolTip(state.domain.nodes.node(i));
    for (TreeControl* tree : {&state.windows.main.networkTree, &state.windows.loginDialog.nodeTree})
        if (auto index = tree->find(nodeItemKey(i))) tree->setToolTip(*index, text);
}

void addNodeItems(ProgramState& state, int i) {
    const NodeRecord& node = state.domain.nodes.node(i);
    const auto label = nodeLabel(node, state.domain.settings.nodeLabelMode.value());
    const bool shownPlain = node.enabled == NodeEnabled::Shown && node.loginUser.empty();
    const std::string toolTip = nodeToolTip(node);
    // Only a name or an address that says so makes a node this computer: a
    // node without an address is not, even when this computer's own address
    // could not be found.
    if (isLocalNode(node, state.domain.nodes.localAddress)) {
        if (label && shownPlain) addItem(state.windows.main.networkTree, i, *label, ImageKey::ThisComputer, toolTip);
        state.domain.nodes.localNode = i;
        return;
    }
    if (!label) return;
    ImageKey image = ImageKey::None;
    if (shownPlain) image = ImageKey::Computer;
    else if (node.enabled == NodeEnabled::Shown) image = ImageKey::ComputerWithLogin;
    else if (node.enabled == NodeEnabled::Jump) image = ImageKey::JumpNode;
    if (image == ImageKey::None) return;
    addItem(state.windows.main.networkTree, i, *label, image, toolTip);
    addItem(state.windows.loginDialog.nodeTree, i, *label, image, toolTip);
}

void rebuildNetworkTrees(ProgramState& state) {
    runCommand(state, {"Unable to retrieve network node list."}, [&state] {
        state.windows.loginDialog.nodeTree.clear();
        state.windows.main.networkTree.clear();
        state.windows.loginDialog.nodeTree.redraw();
        state.windows.main.networkTree.redraw();
        state.ui->doEvents();
        addNetworkRoots(state);
        for (int i = 1; i <= state.domain.nodes.nodeCount(); ++i) {
            state.ui->doEvents();
            addNodeItems(state, i);
        }
    });
}

void buildNetworkTreeFromScan(ProgramState& state) {
    runCommand(state, {"Unable to retrieve network node list!"}, [&state] {
        for (int i = 1; i <= state.domain.nodes.nodeCount(); ++i) {
            state.ui->doEvents();
            makeNodeFolder(state, state.domain.nodes.node(i));
        }
    });
    // Every node keeps its label, image and login mark: a network scan adds
    // computers, it does not forget what the user made of the known ones.
    rebuildNetworkTrees(state);
}

void listNodes(ProgramState& state) {
    runCommand(state, {"Unable to list network nodes!"}, [&state] {
        // Start from the header row, so node i lands in row i on every listing.
        state.windows.scanDialog.resetNodeGrid();
        state.ui->doEvents();
        state.windows.scanDialog.statusText.clear();
        for (int i = 1; i <= state.domain.nodes.nodeCount(); ++i) {
            state.ui->doEvents();
            const NodeRecord& node = state.domain.nodes.node(i);
            state.windows.scanDialog.appendNodeRow(node.name, node.displayName, node.address, node.scanStatus.text(),
                                                   node.enabled.text(), node.lastResult);
        }
    });
}

void networkTreeClicked(ProgramState& state) {
    selectCurrentFromTree(state);
    if (!state.domain.nodes.isNode(state.domain.nodes.currentNode)) return;
    const NodeRecord& node = state.domain.nodes.node(state.domain.nodes.currentNode);
    state.windows.main.currentNodeDisplayName = node.displayName;
    state.windows.main.currentNodeAddress = node.address;
    state.windows.main.currentNodeName = node.name;
}

void networkTreeDoubleClicked(ProgramState& state) {
    selectCurrentFromTree(state);
    state.domain.accessDeniedFlag = false;
    if (state.domain.nodes.currentNode == 0 || !state.showCurrentNode) return;
    // What could be shown stays shown; the tree's events report nothing.
    attempt(state.showCurrentNode);
}

void networkTreeMouseDown(ProgramState& state, MouseButton button) {
    selectCurrentFromTree(state);
    if (button == MouseButton::Right) state.ui->popupMenu(PopupMenu::Node);
}

void networkTreeLabelEdited(ProgramState& state, const std::string& newText) {
    selectCurrentFromTree(state);
    // The tree keeps the edited text whatever the item; only a node stores it.
    if (auto index = state.windows.main.networkTree.selected()) state.windows.main.networkTree.setText(*index, newText);
    const int current = state.domain.nodes.currentNode;
    if (state.domain.nodes.isNode(current)) state.domain.nodes.node(current).displayName = newText;
    state.windows.main.networkTree.setLabelEditAutomatic(false);
}

void renameNode(ProgramState& state) { state.windows.main.networkTree.setLabelEditAutomatic(true); }

namespace {

bool askAboutCurrentNode(ProgramState& state, const char* question) {
    if (!state.domain.nodes.isNode(state.domain.nodes.currentNode)) return false;
    const std::string text = question + state.domain.nodes.node(state.domain.nodes.currentNode).displayName + "?";
    return state.ui->messageBox(text, kMessageTitle, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

}  // namespace

void deleteCurrentNode(ProgramState& state) {
    if (!askAboutCurrentNode(state, "Delete Node ")) return;
    NodeRecord& node = state.domain.nodes.node(state.domain.nodes.currentNode);
    node.loginUser.clear();
    node.loginPassword.clear();
    state.domain.connections.remove(node.name);
    node.enabled = NodeEnabled::Hidden;
    rebuildNetworkTrees(state);
}

void jumpCurrentNode(ProgramState& state) {
    if (!askAboutCurrentNode(state, "Jump Node ")) return;
    state.domain.nodes.node(state.domain.nodes.currentNode).enabled = NodeEnabled::Jump;
    if (auto index = state.windows.main.networkTree.find(nodeItemKey(state.domain.nodes.currentNode)))
        state.windows.main.networkTree.setImage(*index, ImageKey::JumpNode);
}

}  // namespace vantrel
