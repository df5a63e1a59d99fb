#include <gtest/gtest.h>

#include <memory>

#include "wbem/table_services.h"
#include "wbem/wbem_error.h"

using namespace vantrel::wbem;

namespace {

// One class, Win32_Fan, with two rows; counts how often it is asked.
class FanSource : public TableSource {
public:
    std::shared_ptr<const Table> table(const WqlSelect& select) override {
        ++calls;
        if (!equalsIgnoreCase(select.className, "Win32_Fan")) return nullptr;
        return std::make_shared<const Table>(Table{
            TableRow{{{"Description", Value::text("Cooling Device")}, {"Status", Value::text("OK")}}},
            TableRow{{{"DESCRIPTION", Value::text("CPU fan")}}},
        });
    }
    int calls = 0;
};

ErrorCode firstRowError(Services& services, std::string_view wql) {
    auto rows = services.ExecQuery(wql);
    try {
        rows->next();
    } catch (const WbemError& e) {
        // A failed set keeps failing the same way.
        try {
            rows->next();
        } catch (const WbemError& again) {
            EXPECT_EQ(again.code(), e.code());
        }
        return e.code();
    }
    return static_cast<ErrorCode>(-1);
}

}  // namespace

TEST(TableServices, QueryErrorsSurfaceAtTheFirstRow) {
    auto source = std::make_shared<FanSource>();
    TableServices services(source);
    const struct {
        const char* wql;
        ErrorCode code;
    } cases[] = {
        {"Select Name From Win32_HeatPipe", ErrorCode::InvalidClass},
        {"Select From Win32_Fan", ErrorCode::InvalidQuery},
        {"Delete Win32_Fan", ErrorCode::InvalidQuery},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wql);
        EXPECT_EQ(firstRowError(services, c.wql), c.code);
    }
    // Issuing a query reads nothing yet; only enumeration asks the source.
    const int before = source->calls;
    auto pending = services.ExecQuery("Select Description From Win32_Fan");
    EXPECT_EQ(source->calls, before);
}

TEST(TableServices, PropertiesAreLookedUpWithoutRegardToCase) {
    std::unique_ptr<Row> first, second;
    {
        TableServices services(std::make_shared<FanSource>());
        auto rows = services.ExecQuery("select description, STATUS from WIN32_FAN");
        first = rows->next();
        second = rows->next();
        ASSERT_TRUE(first && second);
        EXPECT_EQ(rows->next(), nullptr);
    }
    // The rows outlive their set and the connection.
    EXPECT_EQ(first->property("Description"), Value::text("Cooling Device"));
    EXPECT_EQ(first->property("status"), Value::text("OK"));
    EXPECT_EQ(second->property("description"), Value::text("CPU fan"));
    EXPECT_TRUE(second->property("Status").isAbsent());  // selected, but the row has none
    try {
        first->property("Name");  // the row has no Name and it was not selected
        FAIL() << "an unselected property was read";
    } catch (const WbemError& e) {
        EXPECT_EQ(e.code(), ErrorCode::NotFound);
    }
}

TEST(TableServices, SelectStarGivesEveryPropertyOfEachRow) {
    TableServices services(std::make_shared<FanSource>());
    auto rows = services.ExecQuery("Select * From Win32_Fan");
    auto first = rows->next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->propertyNames(), (std::vector<std::string>{"Description", "Status"}));
    EXPECT_EQ(first->property("status"), Value::text("OK"));
    EXPECT_TRUE(first->property("Nothing").isAbsent());
    auto second = rows->next();
    EXPECT_EQ(second->propertyNames(), std::vector<std::string>{"DESCRIPTION"});
    // A named select list stays what it was.
    auto named = services.ExecQuery("Select Status From Win32_Fan")->next();
    EXPECT_EQ(named->propertyNames(), std::vector<std::string>{"Status"});
    EXPECT_THROW(named->property("Description"), WbemError);
}
