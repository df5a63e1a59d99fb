#include "collect/tree_change_marks.h"

#include "collect/hardware_tree.h"

namespace vantrel {

namespace {

const HardwareTreeNode* categoryNode(std::string_view keyword) {
    for (const auto& node : kHardwareTreeNodes)
        if (node.keyword == keyword) return &node;
    return nullptr;
}

}  // namespace

void markTreeChanges(TreeControl& tree, const std::vector<PlacedChange>& changes, const std::string& lastSeen) {
    int removed = 0;
    for (const auto& change : changes) {
        const HardwareTreeNode* category = categoryNode(change.category);
        if (!category) continue;
        const auto parent = tree.find(category->key);
        if (!parent) continue;
        if (change.kind == ChangeKind::Removed) {
            std::string text = "Removed: " + change.name;
            if (!lastSeen.empty()) text += " (last seen " + lastSeen + ")";
            const int item = tree.add(category->key, TreeRelationship::Child,
                                      "removed " + std::to_string(++removed) + " node", text, category->image);
            tree.setToolTip(item, text);
            continue;
        }
        // The builders add a category's devices in the order of its entries.
        const auto& children = tree.item(*parent).children;
        if (change.entry < 1 || change.entry > static_cast<int>(children.size())) continue;
        const int item = children[static_cast<std::size_t>(change.entry - 1)];
        const char* what = change.kind == ChangeKind::Added ? "added" : "changed";
        tree.setText(item, tree.item(item).text + "  (" + what + ")");
        tree.setToolTip(item, std::string(change.kind == ChangeKind::Added ? "Added: " : "Changed: ") + change.name);
    }
}

}  // namespace vantrel
