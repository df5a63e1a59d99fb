#include "core/network_tree.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/error.h"

namespace vantrel {

namespace {

constexpr const char* kRootText = "Network";
constexpr const char* kRootImage = "nw";

void showTreeError(ProgramState& state, const char* message) {
    state.ui->doEvents();
    state.ui->messageBox(message, kMessageTitle, MsgIcon::Exclamation, MsgButtons::Ok);
}

// The node number an item stands for: its tag read as a number (0 for the root).
int nodeOfItem(const TreeControl& tree, std::optional<int> index) {
    if (!index) return 0;
    const std::string& tag = tree.item(*index).tag;
    int value = 0;
    std::from_chars(tag.data(), tag.data() + tag.size(), value);
    return value;
}

void selectCurrentFromTree(ProgramState& state) {
    state.nodes.currentNode = nodeOfItem(state.TreeView1, state.TreeView1.selected());
}

void addItem(TreeControl& tree, int node, const std::string& label, const char* image) {
    const int index = tree.add(kNetworkRootKey, TreeControl::kChild, nodeItemKey(node), label, image);
    tree.setTag(index, std::to_string(node));
}

}  // namespace

std::string nodeItemKey(int node) { return "Node1 " + std::to_string(node); }

std::optional<std::string> nodeLabel(const NodeRecord& node, const std::string& labelMode) {
    if (labelMode == "NAME") return node.displayName;
    if (labelMode == "IP") return node.address;
    if (labelMode == "IPNAME") return node.displayName + "(" + node.address + ")";
    return std::nullopt;
}

void addNetworkRoots(ProgramState& state, bool withLoginTree) {
    state.TreeView1.addRoot(kNetworkRootKey, kRootText, kRootImage);
    if (withLoginTree) state.loginDialog.tree.addRoot(kNetworkRootKey, kRootText, kRootImage);
}

void addNodeItems(ProgramState& state, int i) {
    const NodeRecord& node = state.nodes.node(i);
    const auto label = nodeLabel(node, state.NodeLabelMode);
    const bool shownPlain = node.enabled == kEnabledTrue && node.loginUser.empty();
    // A node without an address is not this computer, even when this
    // computer's own address could not be found.
    if (!node.address.empty() && node.address == state.nodes.localAddress) {
        if (label && shownPlain) addItem(state.TreeView1, i, *label, "hm");
        state.nodes.localNode = i;
        return;
    }
    if (!label) return;
    const char* image = nullptr;
    if (shownPlain) image = "pc";
    else if (node.enabled == kEnabledTrue) image = "pw";
    else if (node.enabled == kEnabledJump) image = "jp";
    if (!image) return;
    addItem(state.TreeView1, i, *label, image);
    addItem(state.loginDialog.tree, i, *label, image);
}

void rebuildtree(ProgramState& state) {
    try {
        state.loginDialog.tree.clear();
        state.TreeView1.clear();
        state.loginDialog.tree.redraw();
        state.TreeView1.redraw();
        state.ui->doEvents();
        addNetworkRoots(state);
        for (int i = 1; i <= state.nodes.nodeCount(); ++i) {
            state.ui->doEvents();
            addNodeItems(state, i);
        }
    } catch (const std::exception&) {
        showTreeError(state, "Unable to retrieve network node list.");
    }
}

void createnwtree(ProgramState& state) {
    try {
        addNetworkRoots(state, false);
        for (int i = 1; i <= state.nodes.nodeCount(); ++i) {
            state.ui->doEvents();
            const NodeRecord& node = state.nodes.node(i);
            addItem(state.TreeView1, i, node.name, "pc");
            const auto folder = state.folder.nodeFolder(node.name);
            if (!folder) throw Error("Node name is not a valid folder name: " + node.name);
            std::error_code ec;
            if (!std::filesystem::is_directory(*folder, ec)) {
                if (!std::filesystem::create_directory(*folder, ec) || ec)
                    throw Error("Cannot create the folder of node " + node.name + ": " + ec.message());
            }
        }
    } catch (const std::exception&) {
        showTreeError(state, "Unable to retrieve network node list!");
    }
}

void listnodes(ProgramState& state) {
    GridControl& grid = state.scanDialog.Grid1;
    try {
        grid.clear();
        // Start from the header row, so node i lands in row i on every listing.
        grid.setRows(1);
        grid.setRow(0);
        state.ui->doEvents();
        state.scanDialog.lblstatus.clear();
        for (int col = 0; col < 5; ++col) grid.setColWidth(col, 1600);
        int col = 0;
        for (const char* title : {"Name", "Node", "IP", "Scanned", "Enabled"}) grid.setCell(0, col++, title);
        for (int i = 1; i <= state.nodes.nodeCount(); ++i) {
            state.ui->doEvents();
            grid.setRows(grid.rows() + 1);
            grid.setRow(grid.row() + 1);
            const NodeRecord& node = state.nodes.node(i);
            col = 0;
            for (const std::string* text : {&node.name, &node.displayName, &node.address, &node.scanStatus, &node.enabled})
                grid.setCell(grid.row(), col++, *text);
        }
    } catch (const std::exception&) {
        state.ui->doEvents();
        state.ui->messageBox("Unable to list network nodes!", kMessageTitle, MsgIcon::Exclamation, MsgButtons::Ok);
    }
}

void TreeView1_Click(ProgramState& state) {
    selectCurrentFromTree(state);
    if (!state.nodes.isNode(state.nodes.currentNode)) return;
    const NodeRecord& node = state.nodes.node(state.nodes.currentNode);
    state.Label2 = node.displayName;
    state.Label3 = node.address;
    state.Label4 = node.name;
}

void TreeView1_DblClick(ProgramState& state) {
    selectCurrentFromTree(state);
    state.AccessDeniedFlag = false;
    if (state.nodes.currentNode == 0 || !state.showCurrentNode) return;
    try {
        state.showCurrentNode();
    } catch (const std::exception&) {
        // What could be shown stays shown; the tree's events report nothing.
    }
}

void TreeView1_MouseDown(ProgramState& state, int button) {
    selectCurrentFromTree(state);
    if (button == 2) state.ui->popupMenu("mnunw");
}

void TreeView1_AfterLabelEdit(ProgramState& state, const std::string& newText) {
    selectCurrentFromTree(state);
    // The tree keeps the edited text whatever the item; only a node stores it.
    if (auto index = state.TreeView1.selected()) state.TreeView1.setText(*index, newText);
    const int current = state.nodes.currentNode;
    if (state.nodes.isNode(current)) state.nodes.node(current).displayName = newText;
    state.TreeView1.setLabelEditAutomatic(false);
}

void mnuRename_Click(ProgramState& state) { state.TreeView1.setLabelEditAutomatic(true); }

namespace {

bool askAboutCurrentNode(ProgramState& state, const char* question) {
    if (!state.nodes.isNode(state.nodes.currentNode)) return false;
    const std::string text = question + state.nodes.node(state.nodes.currentNode).displayName + "?";
    return state.ui->messageBox(text, kMessageTitle, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

}  // namespace

void mnudelnode_Click(ProgramState& state) {
    if (!askAboutCurrentNode(state, "Delete Node ")) return;
    NodeRecord& node = state.nodes.node(state.nodes.currentNode);
    node.loginUser.clear();
    node.loginPassword.clear();
    node.enabled = kEnabledFalse;
    rebuildtree(state);
}

void mnujump_Click(ProgramState& state) {
    if (!askAboutCurrentNode(state, "Jump Node ")) return;
    state.nodes.node(state.nodes.currentNode).enabled = kEnabledJump;
    if (auto index = state.TreeView1.find(nodeItemKey(state.nodes.currentNode)))
        state.TreeView1.setImage(*index, "jp");
}

}  // namespace vantrel
