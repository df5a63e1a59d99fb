#pragma once
// A builder table that records every call: which builder, the counters, and
// the first elements of every table as the builder saw them.

#include <array>
#include <string>
#include <vector>

#include "collect/node_report.h"

namespace vantrel::test {

struct BuilderCall {
    std::string name;
    int lastEntry;
    int rowCursor;
    std::array<std::array<std::string, 4>, NodeReport::kTables> seen;  // elements 0..3
};

struct RecordingDispatch {
    std::vector<BuilderCall> calls;
    BuilderTable table;

    RecordingDispatch() {
        for (std::size_t i = 0; i < kBuilderCount; ++i) {
            const auto id = static_cast<BuilderId>(i);
            table.set(id, [this, id](NodeReport& r) {
                BuilderCall call{std::string(builderName(id)), r.LastEntry, r.RowCursor, {}};
                for (int t = 0; t < NodeReport::kTables; ++t)
                    for (int e = 0; e < 4; ++e) call.seen[t][e] = r.ReportTable[t][e];
                calls.push_back(std::move(call));
            });
        }
    }

    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& c : calls) out.push_back(c.name);
        return out;
    }
    const BuilderCall* find(const std::string& name) const {
        for (const auto& c : calls)
            if (c.name == name) return &c;
        return nullptr;
    }
};

}  // namespace vantrel::test
