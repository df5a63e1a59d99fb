#include "core/network_tree.h"

#include <gtest/gtest.h>

#include "core/node_registry.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using test::FakeUi;
using test::TempFolder;

struct TreeItemView {
    std::string key, text, image, tag;
    bool operator==(const TreeItemView&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TreeItemView& v) {
    return os << "{" << v.key << ", " << v.text << ", " << v.image << ", " << v.tag << "}";
}

std::vector<TreeItemView> itemsOf(const TreeControl& tree) {
    std::vector<TreeItemView> out;
    for (int i = 0; i < tree.itemCount(); ++i) {
        const auto& item = tree.item(i);
        out.push_back({item.key, item.text, std::string(imageKeyName(item.image)), item.tag});
    }
    return out;
}

struct NetworkTreeFixture : ::testing::Test {
    TempFolder dir;
    FakeUi ui;
    ProgramState state{ProgramFolder(dir.path()), ui};

    // PC-A local without login, PC-B with a login, PC-C deleted, PC-D jumped.
    void addMixedTable() {
        state.domain.nodes.localAddress = "10.0.0.1";
        state.domain.nodes.append({"PC-A", "10.0.0.1", "PC-A", NodeEnabled::Shown, "", "", ScanStatus::NotScanned});
        state.domain.nodes.append(
            {"PC-B", "10.0.0.2", "PC-B", NodeEnabled::Shown, "adm", "pw", ScanStatus::NotScanned});
        state.domain.nodes.append({"PC-C", "10.0.0.3", "PC-C", NodeEnabled::Hidden, "", "", ScanStatus::NotScanned});
        state.domain.nodes.append({"PC-D", "10.0.0.4", "PC-D", NodeEnabled::Jump, "", "", ScanStatus::NotScanned});
    }
    void select(const std::string& key) {
        state.windows.main.networkTree.select(state.windows.main.networkTree.at(key));
    }
};

TEST_F(NetworkTreeFixture, ImagesKeysAndTagsFollowTheNodeTable) {
    addMixedTable();
    state.domain.settings.nodeLabelMode = NodeLabelMode::Name;
    rebuildNetworkTrees(state);
    EXPECT_EQ(itemsOf(state.windows.main.networkTree), (std::vector<TreeItemView>{{"1 node", "Network", "nw", ""},
                                                                                  {"Node1 1", "PC-A", "hm", "1"},
                                                                                  {"Node1 2", "PC-B", "pw", "2"},
                                                                                  {"Node1 4", "PC-D", "jp", "4"}}));
    EXPECT_EQ(itemsOf(state.windows.loginDialog.nodeTree),
              (std::vector<TreeItemView>{
                  {"1 node", "Network", "nw", ""}, {"Node1 2", "PC-B", "pw", "2"}, {"Node1 4", "PC-D", "jp", "4"}}));
    EXPECT_EQ(state.domain.nodes.localNode, 1);
    for (int i = 1; i < state.windows.main.networkTree.itemCount(); ++i)
        EXPECT_EQ(state.windows.main.networkTree.item(i).parent, 0);
}

TEST_F(NetworkTreeFixture, LabelModes) {
    addMixedTable();
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
        {"NAME", {"Network", "PC-A", "PC-B", "PC-D"}},
        {"IP", {"Network", "10.0.0.1", "10.0.0.2", "10.0.0.4"}},
        {"IPNAME", {"Network", "PC-A(10.0.0.1)", "PC-B(10.0.0.2)", "PC-D(10.0.0.4)"}},
        {"name", {"Network"}},
        {"", {"Network"}},
    };
    for (const auto& [mode, texts] : cases) {
        state.domain.settings.nodeLabelMode = FileValue<NodeLabelMode>::fromText(mode);
        rebuildNetworkTrees(state);
        std::vector<std::string> got;
        for (const auto& item : itemsOf(state.windows.main.networkTree)) got.push_back(item.text);
        EXPECT_EQ(got, texts) << mode;
        EXPECT_EQ(state.domain.nodes.localNode, 1) << mode;
    }
}

TEST_F(NetworkTreeFixture, LocalNodeWithItsOwnLoginIsInNeitherTree) {
    addMixedTable();
    state.domain.nodes.node(1).loginUser = "me";
    state.domain.settings.nodeLabelMode = NodeLabelMode::Name;
    rebuildNetworkTrees(state);
    EXPECT_FALSE(state.windows.main.networkTree.find("Node1 1"));
    EXPECT_FALSE(state.windows.loginDialog.nodeTree.find("Node1 1"));
    EXPECT_EQ(state.domain.nodes.localNode, 1);
}

TEST_F(NetworkTreeFixture, UnresolvedNodeIsNotTakenForThisComputer) {
    state.domain.nodes.localAddress = "";
    state.domain.nodes.append({"PC-NEW", "", "PC-NEW", NodeEnabled::Shown, "", "", ScanStatus::NotScanned});
    state.domain.settings.nodeLabelMode = NodeLabelMode::Name;
    rebuildNetworkTrees(state);
    EXPECT_EQ(state.windows.main.networkTree.item(state.windows.main.networkTree.at("Node1 1")).image,
              ImageKey::Computer);
    EXPECT_EQ(state.domain.nodes.localNode, 0);
}

TEST_F(NetworkTreeFixture, SelectingShowsTheNodeLabelsAndTheRootKeepsThem) {
    addMixedTable();
    state.domain.nodes.node(2).displayName = "Accounts";
    state.domain.settings.nodeLabelMode = NodeLabelMode::Name;
    rebuildNetworkTrees(state);
    select("Node1 2");
    networkTreeClicked(state);
    EXPECT_EQ(state.domain.nodes.currentNode, 2);
    EXPECT_EQ(state.windows.main.currentNodeDisplayName, "Accounts");
    EXPECT_EQ(state.windows.main.currentNodeAddress, "10.0.0.2");
    EXPECT_EQ(state.windows.main.currentNodeName, "PC-B");
    select("1 node");
    networkTreeClicked(state);
    EXPECT_EQ(state.domain.nodes.currentNode, 0);
    EXPECT_EQ(state.windows.main.currentNodeDisplayName, "Accounts");
}

TEST_F(NetworkTreeFixture, DoubleClickShowsTheStoredNodeOnlyForANode) {
    addMixedTable();
    state.domain.settings.nodeLabelMode = NodeLabelMode::Name;
    rebuildNetworkTrees(state);
    int shown = 0;
    state.showCurrentNode = [&] { ++shown; };
    state.domain.accessDeniedFlag = true;
    select("1 node");
    networkTreeDoubleClicked(state);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(state.domain.nodes.currentNode, 0);
    EXPECT_FALSE(state.domain.accessDeniedFlag);
    select("Node1 4");
    networkTreeDoubleClicked(state);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(state.domain.nodes.currentNode, 4);
    state.showCurrentNode = [] { throw Error("broken report"); };
    EXPECT_NO_THROW(networkTreeDoubleClicked(state));
}

TEST_F(NetworkTreeFixture, RightButtonOpensTheNodePopup) {
    addMixedTable();
    state.domain.settings.nodeLabelMode = NodeLabelMode::Name;
    rebuildNetworkTrees(state);
    select("Node1 2");
    networkTreeMouseDown(state, MouseButton::Left);
    EXPECT_TRUE(ui.popups.empty());
    networkTreeMouseDown(state, MouseButton::Right);
    EXPECT_EQ(ui.popups, std::vector<PopupMenu>{PopupMenu::Node});
    EXPECT_EQ(state.domain.nodes.currentNode, 2);
}

TEST_F(NetworkTreeFixture, DeleteNodeRebuildsWithoutIt) {
    for (const char* n : {"PC-1", "PC-2", "PC-3"})
        state.domain.nodes.append({n, "", n, NodeEnabled::Shown, "u", "p", ScanStatus::NotScanned});
    state.domain.settings.nodeLabelMode = NodeLabelMode::Name;
    rebuildNetworkTrees(state);
    std::filesystem::create_directory(dir.path() / "PC-2");
    test::writeBytes(dir.path() / "PC-2" / "report", "kept");
    select("Node1 2");
    networkTreeClicked(state);
    ui.answers = {MsgAnswer::Yes};
    deleteCurrentNode(state);
    EXPECT_EQ(test::readBytes(dir.path() / "PC-2" / "report"), "kept");  // its report stays on disk
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, "Delete Node PC-2?");
    EXPECT_EQ(ui.messages[0].title, "Message from Vantrel");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(state.domain.nodes.node(2).enabled, NodeEnabled::Hidden);
    EXPECT_EQ(state.domain.nodes.node(2).loginUser, "");
    EXPECT_EQ(state.domain.nodes.node(2).loginPassword, "");
    // The second item now stands for node 3.
    ASSERT_EQ(state.windows.main.networkTree.itemCount(), 3);
    state.windows.main.networkTree.select(2);
    networkTreeClicked(state);
    EXPECT_EQ(state.domain.nodes.currentNode, 3);
}

TEST_F(NetworkTreeFixture, AnsweringNoOrHavingNoNodeChangesNothing) {
    addMixedTable();
    state.domain.settings.nodeLabelMode = NodeLabelMode::Name;
    rebuildNetworkTrees(state);
    select("Node1 2");
    networkTreeClicked(state);
    deleteCurrentNode(state);  // answered No
    jumpCurrentNode(state);    // answered No
    EXPECT_EQ(state.domain.nodes.node(2).enabled, NodeEnabled::Shown);
    select("1 node");
    networkTreeClicked(state);
    ui.messages.clear();
    deleteCurrentNode(state);
    jumpCurrentNode(state);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(NetworkTreeFixture, JumpKeepsTheNodeWithItsOwnImage) {
    addMixedTable();
    state.domain.settings.nodeLabelMode = NodeLabelMode::Name;
    rebuildNetworkTrees(state);
    select("Node1 2");
    networkTreeClicked(state);
    ui.answers = {MsgAnswer::Yes};
    jumpCurrentNode(state);
    EXPECT_EQ(ui.messages.at(0).text, "Jump Node PC-B?");
    EXPECT_EQ(state.domain.nodes.node(2).enabled, NodeEnabled::Jump);
    EXPECT_EQ(state.windows.main.networkTree.item(state.windows.main.networkTree.at("Node1 2")).image,
              ImageKey::JumpNode);
}

TEST_F(NetworkTreeFixture, RenameEditsTheDisplayNameOnce) {
    addMixedTable();
    state.domain.settings.nodeLabelMode = NodeLabelMode::IpName;
    rebuildNetworkTrees(state);
    EXPECT_FALSE(state.windows.main.networkTree.labelEditAutomatic());
    renameNode(state);
    EXPECT_TRUE(state.windows.main.networkTree.labelEditAutomatic());
    select("Node1 2");
    networkTreeLabelEdited(state, "Boss");
    EXPECT_EQ(state.domain.nodes.node(2).displayName, "Boss");
    EXPECT_EQ(state.windows.main.networkTree.item(state.windows.main.networkTree.at("Node1 2")).text, "Boss");
    EXPECT_FALSE(state.windows.main.networkTree.labelEditAutomatic());
    rebuildNetworkTrees(state);
    EXPECT_EQ(state.windows.main.networkTree.item(state.windows.main.networkTree.at("Node1 2")).text, "Boss(10.0.0.2)");

    // The root's text can be edited too, but it belongs to no node.
    renameNode(state);
    select("1 node");
    networkTreeLabelEdited(state, "LAN");
    EXPECT_EQ(state.windows.main.networkTree.item(0).text, "LAN");
    EXPECT_EQ(state.domain.nodes.currentNode, 0);
    EXPECT_EQ(state.domain.nodes.node(2).displayName, "Boss");
}

TEST_F(NetworkTreeFixture, TreeAfterANetworkScanMakesFoldersAndKeepsEveryNodesMarks) {
    addMixedTable();
    state.domain.settings.nodeLabelMode = NodeLabelMode::Ip;
    std::filesystem::create_directory(dir.path() / "PC-B");
    test::writeBytes(dir.path() / "PC-B" / "report", "kept");
    buildNetworkTreeFromScan(state);
    // Labels, images, deleted and jumped nodes as the table says: a network
    // scan adds computers, it does not reset the ones the user has marked.
    EXPECT_EQ(itemsOf(state.windows.main.networkTree), (std::vector<TreeItemView>{{"1 node", "Network", "nw", ""},
                                                                                  {"Node1 1", "10.0.0.1", "hm", "1"},
                                                                                  {"Node1 2", "10.0.0.2", "pw", "2"},
                                                                                  {"Node1 4", "10.0.0.4", "jp", "4"}}));
    EXPECT_EQ(state.windows.loginDialog.nodeTree.itemCount(), 3);
    for (const char* n : {"PC-A", "PC-B", "PC-C", "PC-D"}) EXPECT_TRUE(std::filesystem::is_directory(dir.path() / n));
    EXPECT_EQ(test::readBytes(dir.path() / "PC-B" / "report"), "kept");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(NetworkTreeFixture, UnsafeNodeNamesGetNoFolderAndStopTheFolders) {
    const std::vector<std::string> badNames{"", ".", "..", "../evil", "a/b", std::string("nul\0x", 5), "tab\there"};
    for (const std::string& bad : badNames) {
        TempFolder root;
        FakeUi caseUi;
        ProgramState s{ProgramFolder(root.path() / "home"), caseUi};
        std::filesystem::create_directory(root.path() / "home");
        s.domain.nodes.append({"GOOD", "", "GOOD", NodeEnabled::Shown, "", "", ScanStatus::NotScanned});
        s.domain.nodes.append({bad, "", bad, NodeEnabled::Shown, "", "", ScanStatus::NotScanned});
        s.domain.nodes.append({"AFTER", "", "AFTER", NodeEnabled::Shown, "", "", ScanStatus::NotScanned});
        buildNetworkTreeFromScan(s);
        ASSERT_EQ(caseUi.messages.size(), 1U) << bad;
        EXPECT_EQ(caseUi.messages[0].text, "Unable to retrieve network node list!");
        EXPECT_EQ(caseUi.messages[0].icon, MsgIcon::Exclamation);
        // Every node stays in the tree; only GOOD's folder was created, and nothing outside the program folder.
        std::vector<std::string> inHome, inRoot;
        for (auto& e : std::filesystem::directory_iterator(root.path() / "home")) inHome.push_back(e.path().filename());
        for (auto& e : std::filesystem::directory_iterator(root.path())) inRoot.push_back(e.path().filename());
        EXPECT_EQ(inHome, std::vector<std::string>{"GOOD"}) << bad;
        EXPECT_EQ(inRoot, std::vector<std::string>{"home"}) << bad;
    }
}

TEST_F(NetworkTreeFixture, ListNodesFillsTheScanGridFromRowOneOnEveryListing) {
    addMixedTable();
    state.windows.scanDialog.statusText = "old";
    for (int pass = 0; pass < 2; ++pass) {
        listNodes(state);
        const GridControl& g = state.windows.scanDialog.nodeGrid;
        ASSERT_EQ(g.rows(), 5);
        EXPECT_EQ(g.cell(0, 0), "Name");
        EXPECT_EQ(g.cell(0, 1), "Node");
        EXPECT_EQ(g.cell(0, 2), "IP");
        EXPECT_EQ(g.cell(2, 0), "PC-B");
        EXPECT_EQ(g.cell(2, 2), "10.0.0.2");
        EXPECT_EQ(g.cell(3, 4), "False");
        EXPECT_EQ(g.colWidth(4), 1600);
        EXPECT_EQ(state.windows.scanDialog.statusText, "");
    }
}

}  // namespace
}  // namespace vantrel
