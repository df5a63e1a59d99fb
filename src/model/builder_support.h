#pragma once
// What the builders share: reading entries as the section's placement left
// them, adding tree items, and the text tests of the mapping rules.

#include <string>
#include <string_view>

#include "collect/node_report.h"
#include "core/image_key.h"
#include "core/tree_control.h"

namespace vantrel::model {

// Entries of the section just read (LastEntry + 1; 0 for an empty section).
inline int entryCount(const NodeReport& r) { return r.LastEntry + 1; }

// Slot placement: entry k's first line (k from 1, at most 10 entries kept).
inline std::string& slotLine1(NodeReport& r, int k) { return r.ReportTable.at(static_cast<std::size_t>(k - 1))[1]; }
// Slot placement: entry k's second line.
inline std::string& slotLine2(NodeReport& r, int k) { return r.ReportTable.at(static_cast<std::size_t>(10 + k - 1))[1]; }
// Row placement: line (1 to 3) of entry i (i from 1).
inline std::string& rowLine(NodeReport& r, int i, int line) {
    return r.ReportTable.at(static_cast<std::size_t>(10 * (line - 1))).at(static_cast<std::size_t>(i));
}

// Adds an item under a category item ("7 node"); throws TreeError as the tree does.
void addItem(TreeControl& tree, std::string_view category, std::string key, std::string text, ImageKey image);

// The "NON DETECTED" item of an empty section: the category's number and
// "a node" unless a key is given.
void addNotDetected(TreeControl& tree, std::string_view category, std::string_view key = {});

// The first occurrence of part starts at 1-based position `from` or later.
bool containsAt(std::string_view text, std::string_view part, std::size_t from = 1);

// The processor's or the board's own graphics, or the basic adapter a
// system uses without a driver; `lowered` is the description in lower case.
bool isIntegratedGraphics(std::string_view lowered);

}  // namespace vantrel::model
