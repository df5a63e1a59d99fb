#pragma once
// Services that answer every query from a table of rows per class. The base
// parses the statement, refuses unknown classes, and looks properties up
// without regard to case, with the errors the management interface gives;
// a provider only says which rows a class has.

#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "wbem/services.h"
#include "wbem/wql.h"

namespace vantrel::wbem {

// One row: property names with their values. A property the row does not
// list is absent.
struct TableRow {
    std::vector<std::pair<std::string, Value>> properties;
};

using Table = std::vector<TableRow>;

// What a provider implements: the rows of a class.
class TableSource {
public:
    virtual ~TableSource() = default;
    // The rows of the class the statement names, or nullptr when the
    // namespace has no such class (class names compare without regard to
    // case). The select list is a hint: rows may carry more properties, and
    // properties it names that a row lacks read as absent. Called once per
    // query, at its first enumeration; a WbemError thrown here fails it.
    virtual std::shared_ptr<const Table> table(const WqlSelect& select) = 0;
};

class TableServices final : public Services {
public:
    explicit TableServices(std::shared_ptr<TableSource> source);
    // The statement is checked when the rows are first asked for, as the
    // real service reports query errors only while enumerating. The row set
    // and its rows keep the source alive.
    std::unique_ptr<RowSet> ExecQuery(std::string_view wql) override;

private:
    std::shared_ptr<TableSource> source_;
};

// The entry whose name equals the given one without regard to case, or
// nullptr: how sources find a class in their own lists.
template <typename Entries, typename NameOf>
auto findIgnoringCase(Entries& entries, std::string_view name, NameOf nameOf) -> decltype(&*std::begin(entries)) {
    for (auto& entry : entries)
        if (equalsIgnoreCase(nameOf(entry), name)) return &entry;
    return nullptr;
}

}  // namespace vantrel::wbem
