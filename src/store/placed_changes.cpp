#include "store/placed_changes.h"

namespace vantrel {

namespace {

// The entry of a part among its category's parts of one scan; their order is
// the order of the report's section, which the same query gave.
int entryOf(const std::vector<Component>& parts, const Component& part) {
    int entry = 0;
    for (const auto& p : parts) {
        if (p.category != part.category) continue;
        ++entry;
        if (p.key == part.key) return entry;
    }
    return 0;
}

}  // namespace

std::vector<PlacedChange> placeChanges(const ScanContent& older, const ScanContent& newer) {
    // Read the same way as the comparison reads them.
    const bool useAnswers = !older.answers.empty() && !newer.answers.empty();
    const std::vector<Component> before = scanComponents(older.reportText, older.answers, useAnswers);
    const std::vector<Component> after = scanComponents(newer.reportText, newer.answers, useAnswers);
    std::vector<PlacedChange> placed;
    for (const auto& category : compareScans(older, newer).categories) {
        for (const auto& part : category.added)
            placed.push_back({category.category, ChangeKind::Added, entryOf(after, part), part.name});
        for (const auto& change : category.changed)
            placed.push_back({category.category, ChangeKind::Changed, entryOf(after, change.after), change.after.name});
        for (const auto& part : category.removed)
            placed.push_back({category.category, ChangeKind::Removed, entryOf(before, part), part.name});
    }
    return placed;
}

}  // namespace vantrel
