#pragma once
// The report while it is being loaded: 21 shared tables of 256 texts and two
// counters. Each section overwrites only what its placement writes and its
// builder reads the tables at once, before the next section comes.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "collect/catalogue.h"

namespace vantrel {

struct NodeReport {
    static constexpr int kTables = 21;
    static constexpr int kElements = 256;

    // ReportTable[t][e], t 0..20, e 0..255; element 0 is never written.
    std::vector<std::array<std::string, kElements>> ReportTable =
        std::vector<std::array<std::string, kElements>>(kTables);
    std::int16_t LastEntry = 0;  // count - 1 of the last section read
    std::int16_t RowCursor = 0;
};

// A builder reads (and may rewrite) the tables its category's placement fills.
using ReportBuilder = std::function<void(NodeReport&)>;

// The one dispatch table from builder to code. An empty entry is a builder the
// program does not have (yet): the loader skips it.
struct BuilderTable {
    std::array<ReportBuilder, kBuilderCount> entries;

    void set(BuilderId id, ReportBuilder builder) { entries[static_cast<std::size_t>(id)] = std::move(builder); }
    const ReportBuilder& get(BuilderId id) const { return entries[static_cast<std::size_t>(id)]; }
};

}  // namespace vantrel
