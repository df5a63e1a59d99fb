#pragma once
// The answers behind a report: every row the queries of a collection
// returned, before the collectors' rules filtered them, by class. Queries of
// the same class enumerate the same instances in the same order, so their
// rows are merged position by position into one row per instance.

#include <string>
#include <string_view>
#include <vector>

#include "wbem/table_services.h"

namespace vantrel {

struct AnsweredClass {
    std::string name;
    wbem::Table rows;
};

class ScanAnswers {
public:
    // Where the next query of `className` puts its rows.
    class Cursor {
    public:
        Cursor(ScanAnswers& answers, std::string_view className);
        // Merges the next delivered row into the instance at this position.
        void add(std::vector<std::pair<std::string, wbem::Value>> properties);

    private:
        ScanAnswers& answers_;
        std::size_t class_;  // an index: later classes may move the list
        std::size_t next_ = 0;
    };

    const std::vector<AnsweredClass>& classes() const { return classes_; }
    std::vector<AnsweredClass>& classes() { return classes_; }
    // The class by name (case-insensitive), or nullptr when it was not asked
    // or gave no row.
    const AnsweredClass* find(std::string_view className) const;
    bool empty() const { return classes_.empty(); }

private:
    std::size_t classNamed(std::string_view className);
    std::vector<AnsweredClass> classes_;
};

}  // namespace vantrel
