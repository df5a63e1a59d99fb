#include "store/scan_comparison.h"

#include <map>

#include "collect/catalogue.h"

namespace vantrel {

namespace {

int catalogueOrder(std::string_view category) {
    const HardwareCategory* found = findCategory(category);
    return found ? found->number : static_cast<int>(kCategoryCount) + 1;
}

}  // namespace

ScanChanges compareScans(const ScanContent& older, const ScanContent& newer) {
    // Identity answers only mean something when both scans have them.
    const bool useAnswers = !older.answers.empty() && !newer.answers.empty();
    const std::vector<Component> before = scanComponents(older.reportText, older.answers, useAnswers);
    const std::vector<Component> after = scanComponents(newer.reportText, newer.answers, useAnswers);

    std::map<std::pair<int, std::string>, CategoryChanges> byCategory;
    auto changesOf = [&](const std::string& category) -> CategoryChanges& {
        CategoryChanges& c = byCategory[{catalogueOrder(category), category}];
        c.category = category;
        return c;
    };
    std::map<std::pair<std::string, std::string>, const Component*> oldByKey;
    for (const auto& part : before) oldByKey[{part.category, part.key}] = &part;
    for (const auto& part : after) {
        const auto found = oldByKey.find({part.category, part.key});
        if (found == oldByKey.end()) {
            changesOf(part.category).added.push_back(part);
            continue;
        }
        if (found->second->details != part.details) changesOf(part.category).changed.push_back({*found->second, part});
        oldByKey.erase(found);
    }
    for (const auto& part : before)
        if (oldByKey.count({part.category, part.key})) changesOf(part.category).removed.push_back(part);

    ScanChanges changes;
    for (auto& [order, category] : byCategory) changes.categories.push_back(std::move(category));
    return changes;
}

std::string changeSummary(const ScanChanges& changes) {
    if (changes.empty()) return "no change";
    std::string text;
    for (const auto& c : changes.categories) {
        std::string counts;
        auto add = [&](std::size_t n, const char* what) {
            if (n) counts += (counts.empty() ? "" : ", ") + std::to_string(n) + " " + what;
        };
        add(c.added.size(), "added");
        add(c.removed.size(), "removed");
        add(c.changed.size(), "changed");
        text += (text.empty() ? "" : "; ") + c.category + ": " + counts;
    }
    return text;
}

}  // namespace vantrel
