#include "core/network_tree.h"

#include <gtest/gtest.h>

#include "core/node_registry.h"
#include "support/fake_ui.h"

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
        out.push_back({item.key, item.text, item.image, item.tag});
    }
    return out;
}

struct NetworkTreeFixture : ::testing::Test {
    TempFolder dir;
    FakeUi ui;
    ProgramState state{ProgramFolder(dir.path()), ui};

    // PC-A local without login, PC-B with a login, PC-C deleted, PC-D jumped.
    void addMixedTable() {
        state.nodes.localAddress = "10.0.0.1";
        state.nodes.append({"PC-A", "10.0.0.1", "PC-A", "True", "", "", "False"});
        state.nodes.append({"PC-B", "10.0.0.2", "PC-B", "True", "adm", "pw", "False"});
        state.nodes.append({"PC-C", "10.0.0.3", "PC-C", "False", "", "", "False"});
        state.nodes.append({"PC-D", "10.0.0.4", "PC-D", "Jump", "", "", "False"});
    }
    void select(const std::string& key) { state.TreeView1.select(state.TreeView1.at(key)); }
};

TEST_F(NetworkTreeFixture, ImagesKeysAndTagsFollowTheNodeTable) {
    addMixedTable();
    state.NodeLabelMode = "NAME";
    rebuildtree(state);
    EXPECT_EQ(itemsOf(state.TreeView1), (std::vector<TreeItemView>{{"1 node", "Network", "nw", ""},
                                                                  {"Node1 1", "PC-A", "hm", "1"},
                                                                  {"Node1 2", "PC-B", "pw", "2"},
                                                                  {"Node1 4", "PC-D", "jp", "4"}}));
    EXPECT_EQ(itemsOf(state.loginDialog.tree), (std::vector<TreeItemView>{{"1 node", "Network", "nw", ""},
                                                                          {"Node1 2", "PC-B", "pw", "2"},
                                                                          {"Node1 4", "PC-D", "jp", "4"}}));
    EXPECT_EQ(state.nodes.localNode, 1);
    for (int i = 1; i < state.TreeView1.itemCount(); ++i) EXPECT_EQ(state.TreeView1.item(i).parent, 0);
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
        state.NodeLabelMode = mode;
        rebuildtree(state);
        std::vector<std::string> got;
        for (const auto& item : itemsOf(state.TreeView1)) got.push_back(item.text);
        EXPECT_EQ(got, texts) << mode;
        EXPECT_EQ(state.nodes.localNode, 1) << mode;
    }
}

TEST_F(NetworkTreeFixture, LocalNodeWithItsOwnLoginIsInNeitherTree) {
    addMixedTable();
    state.nodes.node(1).loginUser = "me";
    state.NodeLabelMode = "NAME";
    rebuildtree(state);
    EXPECT_FALSE(state.TreeView1.find("Node1 1"));
    EXPECT_FALSE(state.loginDialog.tree.find("Node1 1"));
    EXPECT_EQ(state.nodes.localNode, 1);
}

TEST_F(NetworkTreeFixture, UnresolvedNodeIsNotTakenForThisComputer) {
    state.nodes.localAddress = "";
    state.nodes.append({"PC-NEW", "", "PC-NEW", "True", "", "", "False"});
    state.NodeLabelMode = "NAME";
    rebuildtree(state);
    EXPECT_EQ(state.TreeView1.item(state.TreeView1.at("Node1 1")).image, "pc");
    EXPECT_EQ(state.nodes.localNode, 0);
}

TEST_F(NetworkTreeFixture, SelectingShowsTheNodeLabelsAndTheRootKeepsThem) {
    addMixedTable();
    state.nodes.node(2).displayName = "Accounts";
    state.NodeLabelMode = "NAME";
    rebuildtree(state);
    select("Node1 2");
    TreeView1_Click(state);
    EXPECT_EQ(state.nodes.currentNode, 2);
    EXPECT_EQ(state.Label2, "Accounts");
    EXPECT_EQ(state.Label3, "10.0.0.2");
    EXPECT_EQ(state.Label4, "PC-B");
    select("1 node");
    TreeView1_Click(state);
    EXPECT_EQ(state.nodes.currentNode, 0);
    EXPECT_EQ(state.Label2, "Accounts");
}

TEST_F(NetworkTreeFixture, DoubleClickShowsTheStoredNodeOnlyForANode) {
    addMixedTable();
    state.NodeLabelMode = "NAME";
    rebuildtree(state);
    int shown = 0;
    state.showCurrentNode = [&] { ++shown; };
    state.AccessDeniedFlag = true;
    select("1 node");
    TreeView1_DblClick(state);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(state.nodes.currentNode, 0);
    EXPECT_FALSE(state.AccessDeniedFlag);
    select("Node1 4");
    TreeView1_DblClick(state);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(state.nodes.currentNode, 4);
    state.showCurrentNode = [] { throw Error("broken report"); };
    EXPECT_NO_THROW(TreeView1_DblClick(state));
}

TEST_F(NetworkTreeFixture, RightButtonOpensTheNodePopup) {
    addMixedTable();
    state.NodeLabelMode = "NAME";
    rebuildtree(state);
    select("Node1 2");
    TreeView1_MouseDown(state, 1);
    EXPECT_TRUE(ui.popups.empty());
    TreeView1_MouseDown(state, 2);
    EXPECT_EQ(ui.popups, std::vector<std::string>{"mnunw"});
    EXPECT_EQ(state.nodes.currentNode, 2);
}

TEST_F(NetworkTreeFixture, DeleteNodeRebuildsWithoutIt) {
    for (const char* n : {"PC-1", "PC-2", "PC-3"}) state.nodes.append({n, "", n, "True", "u", "p", "False"});
    state.NodeLabelMode = "NAME";
    rebuildtree(state);
    select("Node1 2");
    TreeView1_Click(state);
    ui.answers = {MsgAnswer::Yes};
    mnudelnode_Click(state);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, "Delete Node PC-2?");
    EXPECT_EQ(ui.messages[0].title, "Message from Vantrel");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(state.nodes.node(2).enabled, "False");
    EXPECT_EQ(state.nodes.node(2).loginUser, "");
    EXPECT_EQ(state.nodes.node(2).loginPassword, "");
    // The second item now stands for node 3.
    ASSERT_EQ(state.TreeView1.itemCount(), 3);
    state.TreeView1.select(2);
    TreeView1_Click(state);
    EXPECT_EQ(state.nodes.currentNode, 3);
}

TEST_F(NetworkTreeFixture, AnsweringNoOrHavingNoNodeChangesNothing) {
    addMixedTable();
    state.NodeLabelMode = "NAME";
    rebuildtree(state);
    select("Node1 2");
    TreeView1_Click(state);
    mnudelnode_Click(state);  // answered No
    mnujump_Click(state);     // answered No
    EXPECT_EQ(state.nodes.node(2).enabled, "True");
    select("1 node");
    TreeView1_Click(state);
    ui.messages.clear();
    mnudelnode_Click(state);
    mnujump_Click(state);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(NetworkTreeFixture, JumpKeepsTheNodeWithItsOwnImage) {
    addMixedTable();
    state.NodeLabelMode = "NAME";
    rebuildtree(state);
    select("Node1 2");
    TreeView1_Click(state);
    ui.answers = {MsgAnswer::Yes};
    mnujump_Click(state);
    EXPECT_EQ(ui.messages.at(0).text, "Jump Node PC-B?");
    EXPECT_EQ(state.nodes.node(2).enabled, "Jump");
    EXPECT_EQ(state.TreeView1.item(state.TreeView1.at("Node1 2")).image, "jp");
}

TEST_F(NetworkTreeFixture, RenameEditsTheDisplayNameOnce) {
    addMixedTable();
    state.NodeLabelMode = "IPNAME";
    rebuildtree(state);
    EXPECT_FALSE(state.TreeView1.labelEditAutomatic());
    mnuRename_Click(state);
    EXPECT_TRUE(state.TreeView1.labelEditAutomatic());
    select("Node1 2");
    TreeView1_AfterLabelEdit(state, "Boss");
    EXPECT_EQ(state.nodes.node(2).displayName, "Boss");
    EXPECT_EQ(state.TreeView1.item(state.TreeView1.at("Node1 2")).text, "Boss");
    EXPECT_FALSE(state.TreeView1.labelEditAutomatic());
    rebuildtree(state);
    EXPECT_EQ(state.TreeView1.item(state.TreeView1.at("Node1 2")).text, "Boss(10.0.0.2)");

    // The root's text can be edited too, but it belongs to no node.
    mnuRename_Click(state);
    select("1 node");
    TreeView1_AfterLabelEdit(state, "LAN");
    EXPECT_EQ(state.TreeView1.item(0).text, "LAN");
    EXPECT_EQ(state.nodes.currentNode, 0);
    EXPECT_EQ(state.nodes.node(2).displayName, "Boss");
}

TEST_F(NetworkTreeFixture, CreateTreeFromANetworkScanMakesFolders) {
    addMixedTable();
    state.NodeLabelMode = "IP";
    std::filesystem::create_directory(dir.path() / "PC-B");
    test::writeBytes(dir.path() / "PC-B" / "report", "kept");
    createnwtree(state);
    EXPECT_EQ(itemsOf(state.TreeView1), (std::vector<TreeItemView>{{"1 node", "Network", "nw", ""},
                                                                  {"Node1 1", "PC-A", "pc", "1"},
                                                                  {"Node1 2", "PC-B", "pc", "2"},
                                                                  {"Node1 3", "PC-C", "pc", "3"},
                                                                  {"Node1 4", "PC-D", "pc", "4"}}));
    EXPECT_EQ(state.loginDialog.tree.itemCount(), 0);
    for (const char* n : {"PC-A", "PC-B", "PC-C", "PC-D"}) EXPECT_TRUE(std::filesystem::is_directory(dir.path() / n));
    EXPECT_EQ(test::readBytes(dir.path() / "PC-B" / "report"), "kept");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(NetworkTreeFixture, UnsafeNodeNamesGetNoFolderAndStopTheBuild) {
    const std::vector<std::string> badNames{"", ".", "..", "../evil", "a/b", std::string("nul\0x", 5), "tab\there"};
    for (const std::string& bad : badNames) {
        TempFolder root;
        FakeUi caseUi;
        ProgramState s{ProgramFolder(root.path() / "home"), caseUi};
        std::filesystem::create_directory(root.path() / "home");
        s.nodes.append({"GOOD", "", "GOOD", "True", "", "", "False"});
        s.nodes.append({bad, "", bad, "True", "", "", "False"});
        s.nodes.append({"AFTER", "", "AFTER", "True", "", "", "False"});
        createnwtree(s);
        ASSERT_EQ(caseUi.messages.size(), 1U) << bad;
        EXPECT_EQ(caseUi.messages[0].text, "Unable to retrieve network node list!");
        EXPECT_EQ(caseUi.messages[0].icon, MsgIcon::Exclamation);
        EXPECT_FALSE(s.TreeView1.find("Node1 3")) << bad;
        // Only GOOD was created, and nothing outside the program folder.
        std::vector<std::string> inHome, inRoot;
        for (auto& e : std::filesystem::directory_iterator(root.path() / "home")) inHome.push_back(e.path().filename());
        for (auto& e : std::filesystem::directory_iterator(root.path())) inRoot.push_back(e.path().filename());
        EXPECT_EQ(inHome, std::vector<std::string>{"GOOD"}) << bad;
        EXPECT_EQ(inRoot, std::vector<std::string>{"home"}) << bad;
    }
}

TEST_F(NetworkTreeFixture, ListNodesFillsTheScanGridFromRowOneOnEveryListing) {
    addMixedTable();
    state.scanDialog.lblstatus = "old";
    for (int pass = 0; pass < 2; ++pass) {
        listnodes(state);
        const GridControl& g = state.scanDialog.Grid1;
        ASSERT_EQ(g.rows(), 5);
        EXPECT_EQ(g.cell(0, 0), "Name");
        EXPECT_EQ(g.cell(0, 1), "Node");
        EXPECT_EQ(g.cell(0, 2), "IP");
        EXPECT_EQ(g.cell(2, 0), "PC-B");
        EXPECT_EQ(g.cell(2, 2), "10.0.0.2");
        EXPECT_EQ(g.cell(3, 4), "False");
        EXPECT_EQ(g.colWidth(4), 1600);
        EXPECT_EQ(state.scanDialog.lblstatus, "");
    }
}

}  // namespace
}  // namespace vantrel
