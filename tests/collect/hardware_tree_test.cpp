#include <gtest/gtest.h>

#include <set>

#include "collect/catalogue.h"
#include "collect/hardware_tree.h"
#include "test_support.h"

using namespace vantrel;
using test::NodeFixture;

namespace {

struct TreeFixture : ::testing::Test {
    test::TempFolder home;
    NodeFixture f{home.path(), "192.168.1.17"};
    TreeControl& tree() { return f.state.windows.main.hardwareTree; }
};

}  // namespace

TEST_F(TreeFixture, RootTextFollowsTheLabelMode) {
    const std::pair<const char*, const char*> cases[] = {
        {"IPNAME", "LAB-07 (192.168.1.17)"},
        {"IP", "192.168.1.17"},
        {"NAME", "LAB-07"},
    };
    for (const auto& [mode, text] : cases) {
        f.state.domain.settings.nodeLabelMode = FileValue<NodeLabelMode>::fromText(mode);
        buildHardwareTree(f.state);
        const auto root = tree().find("1 node");
        ASSERT_TRUE(root) << mode;
        EXPECT_EQ(tree().item(*root).text, text);
        EXPECT_EQ(tree().item(*root).image, ImageKey::Computer);
        EXPECT_TRUE(f.ui.messages.empty());
    }
}

TEST_F(TreeFixture, TheSkeletonHasOneRootAnd32ChildlessCategoryNodesInOrder) {
    buildHardwareTree(f.state);
    buildHardwareTree(f.state);
    ASSERT_EQ(tree().roots().size(), 1u);
    const auto& root = tree().item(tree().roots()[0]);
    ASSERT_EQ(root.children.size(), 32u);
    EXPECT_EQ(tree().itemCount(), 33);
    for (std::size_t i = 0; i < kHardwareTreeNodes.size(); ++i) {
        const auto& item = tree().item(root.children[i]);
        EXPECT_EQ(item.key, kHardwareTreeNodes[i].key);
        EXPECT_EQ(item.text, kHardwareTreeNodes[i].text);
        EXPECT_EQ(item.image, kHardwareTreeNodes[i].image);
        EXPECT_TRUE(item.children.empty());
    }
    EXPECT_EQ(tree().item(root.children[0]).text, "OS");
    EXPECT_EQ(tree().item(root.children[31]).key, "12 node");
    EXPECT_EQ(f.ui.eventRuns, 2);  // once per build, after clearing
}

TEST_F(TreeFixture, EveryTreeKeyOfTheCatalogueHasItsCategoryNode) {
    std::set<std::string_view> catalogueKeys, treeKeys;
    for (const auto& c : kCatalogue)
        for (auto key : c.treeKeys)
            if (!key.empty()) catalogueKeys.insert(key);
    for (const auto& n : kHardwareTreeNodes) {
        treeKeys.insert(n.key);
        const HardwareCategory* c = findCategory(n.keyword);
        ASSERT_NE(c, nullptr) << n.keyword;
        EXPECT_TRUE(c->treeKeys[0] == n.key || c->treeKeys[1] == n.key) << n.key;
    }
    EXPECT_EQ(catalogueKeys, treeKeys);
}

TEST_F(TreeFixture, AnUnknownLabelModeLeavesABareRootAndTellsTheUser) {
    f.state.windows.main.hardwareTree.addRoot("old", "old", ImageKey::Computer);
    f.state.domain.settings.nodeLabelMode = FileValue<NodeLabelMode>::fromText("");
    buildHardwareTree(f.state);
    EXPECT_EQ(tree().itemCount(), 1);
    EXPECT_EQ(tree().item(0).text, "");
    EXPECT_FALSE(tree().find("1 node"));
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, "Unable to build hardware list!");
    EXPECT_EQ(f.ui.messages[0].title, "Message from Vantrel");
    EXPECT_EQ(f.ui.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(f.ui.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(f.ui.eventRuns, 2);
}

TEST_F(TreeFixture, NoCurrentNodeLeavesAnEmptyTreeAndTellsTheUser) {
    f.state.windows.main.hardwareTree.addRoot("old", "old", ImageKey::Computer);
    f.state.domain.nodes.currentNode = 0;
    buildHardwareTree(f.state);
    EXPECT_EQ(tree().itemCount(), 0);
    EXPECT_EQ(f.ui.messages.size(), 1u);
}
