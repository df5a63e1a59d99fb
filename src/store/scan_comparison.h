#pragma once
// What changed between two scans of a node: per category, the components
// added, removed and changed, matched by identity. A part replaced by
// another (another serial number) is one removed and one added.

#include <string>
#include <vector>

#include "collect/scan_answers.h"
#include "store/hardware_components.h"

namespace vantrel {

struct ComponentChange {
    Component before;
    Component after;
};

struct CategoryChanges {
    std::string category;
    std::vector<Component> added;
    std::vector<Component> removed;
    std::vector<ComponentChange> changed;
};

struct ScanChanges {
    std::vector<CategoryChanges> categories;  // catalogue order; only categories with a change
    bool empty() const { return categories.empty(); }
};

// What a scan holds for comparing.
struct ScanContent {
    std::string reportText;
    ScanAnswers answers;  // empty for a scan known only by its report
};

ScanChanges compareScans(const ScanContent& older, const ScanContent& newer);

// "no change", or "Memory: 1 removed; Video: 1 added"
std::string changeSummary(const ScanChanges& changes);

}  // namespace vantrel
