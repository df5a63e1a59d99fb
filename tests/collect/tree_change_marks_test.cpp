// The changes between two scans in the hardware tree: added and changed
// devices say so, removed ones are listed under their category, and changes
// the tree has no place for are left out.

#include <gtest/gtest.h>

#include "collect/hardware_tree.h"
#include "collect/tree_change_marks.h"
#include "support/collect_fixture.h"

using namespace vantrel;

namespace {

struct TreeMarks : ::testing::Test {
    test::TempFolder home;
    test::NodeFixture f{home.path(), "192.168.1.17"};
    TreeControl& tree() { return f.state.windows.main.hardwareTree; }
    std::vector<std::string> texts(const char* category) {
        std::vector<std::string> out;
        for (int child : tree().item(tree().at(category)).children) out.push_back(tree().item(child).text);
        return out;
    }
};

TEST_F(TreeMarks, AddedAndChangedDevicesSaySoAndRemovedOnesAreListed) {
    buildHardwareTree(f.state);
    for (const char* key : {"6c node", "6d node"})
        tree().add("6 node", TreeRelationship::Child, key, std::string("Memory Bank ") + key[1], ImageKey::Memory);
    tree().add("9 node", TreeRelationship::Child, "9c node", "Example Graphics 500", ImageKey::Video);
    markTreeChanges(tree(),
                    {
                        {"Memory", ChangeKind::Changed, 2, "DIMM 2: 16 GiB"},
                        {"Video", ChangeKind::Added, 1, "Example Graphics 500"},
                        {"Memory", ChangeKind::Removed, 3, "DIMM 3: 8 GiB"},
                        {"Memory", ChangeKind::Added, 7, "beyond the listed devices"},
                        {"No such category", ChangeKind::Removed, 1, "unplaced"},
                    },
                    "2026-12-10 06:00:00 UTC");
    EXPECT_EQ(texts("6 node"), (std::vector<std::string>{"Memory Bank c", "Memory Bank d  (changed)",
                                                         "Removed: DIMM 3: 8 GiB (last seen 2026-12-10 06:00:00 UTC)"}));
    EXPECT_EQ(texts("9 node"), (std::vector<std::string>{"Example Graphics 500  (added)"}));
    EXPECT_EQ(tree().item(tree().item(tree().at("6 node")).children[1]).toolTip, "Changed: DIMM 2: 16 GiB");
}

}  // namespace
