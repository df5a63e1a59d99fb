#include <gtest/gtest.h>

#include <set>

#include "collect/catalogue.h"
#include "collect/hardware_tree.h"
#include "support/collect_fixture.h"

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

TEST_F(TreeFixture, EveryCategoryFillsItsOwnTreeNodes) {
    // Catalogue order; the builders address their category's items by these keys.
    const std::vector<std::pair<std::string_view, std::vector<std::string_view>>> expected{
        {"Baseboard", {"4 node"}}, {"Battery", {"12 node"}}, {"BIOS", {"15 node"}}, {"Disk Drive", {"8 node"}},
        {"Fan", {"16 node"}}, {"Heat pipe", {"26 node"}}, {"Infra red", {"18 node"}}, {"Motherboard", {}},
        {"Parallel", {"11 node"}}, {"PCI", {"7 node"}}, {"pcmcia", {"23 node"}}, {"Pointing", {"3 node"}},
        {"Refrigeration", {"25 node"}}, {"SCSI", {"19 node"}}, {"Serial", {"10 node"}}, {"Sound", {"14 node"}},
        {"Memory", {"6 node"}}, {"Tape", {"24 node"}}, {"Temperature", {"27 node"}}, {"Video", {"9 node"}},
        {"Memory cards", {"30 node"}}, {"CD", {"28 node"}}, {"CPU", {"5 node"}}, {"Floppy", {"29 node"}},
        {"OS", {"32 node"}}, {"Keyboard", {"2 node"}}, {"USB", {"34 node"}}, {"Ethernet", {"20 node"}},
        {"1394", {"17 node"}}, {"Connectors", {}}, {"Enclosure", {"37 node", "38 node"}},
        {"PBattery", {"40 node"}}, {"Wireless", {"44 node"}},
    };
    ASSERT_EQ(expected.size(), kCatalogue.size());
    std::set<std::string_view> keys;
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        EXPECT_EQ(kCatalogue[i].keyword, expected[i].first);
        EXPECT_EQ(hardwareTreeKeys(kCatalogue[i].keyword), expected[i].second) << expected[i].first;
        for (auto key : expected[i].second) EXPECT_TRUE(keys.insert(key).second) << key;
    }
    // Every category item belongs to a category of the catalogue.
    for (const auto& n : kHardwareTreeNodes) EXPECT_NE(findCategory(n.keyword), nullptr) << n.keyword;
    EXPECT_EQ(keys.size(), kHardwareTreeNodes.size());
}

TEST_F(TreeFixture, AnUnknownLabelModeLeavesABareRootAndTellsTheUser) {
    f.state.windows.main.hardwareTree.addRoot("old", "old", ImageKey::Computer);
    f.state.domain.settings.nodeLabelMode = FileValue<NodeLabelMode>::fromText("name");  // case matters
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
