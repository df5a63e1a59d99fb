#include "wbem/table_services.h"

#include <optional>

#include "wbem/wbem_error.h"

namespace vantrel::wbem {

namespace {

class TableRowView : public Row {
public:
    // The row set's table and select list are shared, so a row stays readable
    // after its set is gone.
    // A null select list: "Select *", every property of the row.
    TableRowView(std::shared_ptr<const Table> table, std::size_t index,
                 std::shared_ptr<const std::vector<std::string>> selected)
        : table_(std::move(table)), index_(index), selected_(std::move(selected)) {}

    Value property(std::string_view name) const override {
        bool isSelected = !selected_;
        if (selected_)
            for (const auto& s : *selected_) isSelected = isSelected || equalsIgnoreCase(s, name);
        for (const auto& [key, value] : (*table_)[index_].properties)
            if (isSelected && equalsIgnoreCase(key, name)) return value;
        if (!isSelected) throw WbemError(ErrorCode::NotFound, "Property not found: " + std::string(name));
        return Value();
    }

    std::vector<std::string> propertyNames() const override {
        if (selected_) return *selected_;
        std::vector<std::string> names;
        for (const auto& [key, value] : (*table_)[index_].properties) names.push_back(key);
        return names;
    }

private:
    std::shared_ptr<const Table> table_;
    std::size_t index_;
    std::shared_ptr<const std::vector<std::string>> selected_;
};

class TableRowSet : public RowSet {
public:
    TableRowSet(std::shared_ptr<TableSource> source, std::string_view wql) : source_(std::move(source)), wql_(wql) {}

    std::unique_ptr<Row> next() override {
        if (!started_) {
            started_ = true;
            try {
                start();
            } catch (const WbemError& e) {
                failure_ = e;
            }
        }
        if (failure_) throw *failure_;
        if (index_ >= table_->size()) return nullptr;
        return std::make_unique<TableRowView>(table_, index_++, selected_);
    }

private:
    void start() {
        WqlSelect select = parseWql(wql_);
        table_ = source_->table(select);
        if (!table_) throw WbemError(ErrorCode::InvalidClass, "Invalid class: " + select.className);
        if (!select.allProperties)
            selected_ = std::make_shared<const std::vector<std::string>>(std::move(select.properties));
    }

    std::shared_ptr<TableSource> source_;
    std::string wql_;
    bool started_ = false;
    std::optional<WbemError> failure_;  // repeated on every later call
    std::shared_ptr<const Table> table_;
    std::shared_ptr<const std::vector<std::string>> selected_;
    std::size_t index_ = 0;
};

}  // namespace

TableServices::TableServices(std::shared_ptr<TableSource> source) : source_(std::move(source)) {}

std::unique_ptr<RowSet> TableServices::ExecQuery(std::string_view wql) {
    return std::make_unique<TableRowSet>(source_, wql);
}

}  // namespace vantrel::wbem
