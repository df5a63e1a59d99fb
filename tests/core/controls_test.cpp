#include <gtest/gtest.h>

#include "core/grid_control.h"
#include "core/tree_control.h"

namespace vantrel {
namespace {

TEST(TreeControl, AddingUnderAnUnknownOrTakenKeyFailsAndAddsNothing) {
    TreeControl tree;
    tree.addRoot("1 node", "Network", ImageKey::Network);
    tree.add("1 node", TreeRelationship::Child, "a", "A", ImageKey::Computer);
    EXPECT_THROW(tree.add("missing", TreeRelationship::Child, "b", "B", ImageKey::Computer), TreeError);
    EXPECT_THROW(tree.add("1 node", TreeRelationship::Child, "a", "again", ImageKey::Computer), TreeError);
    EXPECT_THROW(tree.addRoot("1 node", "dup", ImageKey::Network), TreeError);
    EXPECT_EQ(tree.itemCount(), 2);
    EXPECT_EQ(tree.item(0).children, std::vector<int>{1});
}

TEST(TreeControl, ClearingThenAddingARootLeavesOnlyThatRoot) {
    TreeControl tree;
    std::vector<TreeChange> changes;
    tree.setListener([&](TreeChange c, int) { changes.push_back(c); });
    tree.addRoot("r", "R", ImageKey::Network);
    tree.add("r", TreeRelationship::Child, "c", "C", ImageKey::Computer);
    tree.select(1);
    tree.clear();
    tree.addRoot("r", "R2", ImageKey::Network);
    EXPECT_EQ(tree.itemCount(), 1);
    EXPECT_EQ(tree.roots(), std::vector<int>{0});
    EXPECT_FALSE(tree.selected());
    EXPECT_FALSE(tree.find("c"));
    EXPECT_EQ(changes, (std::vector<TreeChange>{TreeChange::Added, TreeChange::Added, TreeChange::Selection,
                                                TreeChange::Cleared, TreeChange::Added}));
}

TEST(GridControl, RowsGrowByCountAndCellsGoThroughTheCurrentCell) {
    GridControl grid(1, 5);
    grid.setRows(grid.rows() + 1);
    grid.setRow(1);
    grid.setCol(2);
    grid.setText("10.0.0.1");
    EXPECT_EQ(grid.cell(1, 2), "10.0.0.1");
    grid.clear();
    EXPECT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.cell(1, 2), "");
    EXPECT_THROW(grid.setRow(2), Error);
    EXPECT_THROW(grid.cell(0, 5), Error);
    grid.setRows(0);  // the header row always stays
    EXPECT_EQ(grid.rows(), 1);
    EXPECT_EQ(grid.row(), 0);
}

}  // namespace
}  // namespace vantrel
