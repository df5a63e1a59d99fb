#include <gtest/gtest.h>

#include "wbem/wbem_error.h"
#include "wbem/wql.h"

using namespace vantrel::wbem;

struct WqlCase {
    const char* statement;
    std::vector<std::string> properties;
    const char* className;
};

TEST(Wql, AcceptsTheStatementsTheCollectorsSend) {
    const WqlCase cases[] = {
        {"Select Manufacturer From Win32_BaseBoard", {"Manufacturer"}, "Win32_BaseBoard"},
        {"Select Name,Manufacturer From Win32_Bios", {"Name", "Manufacturer"}, "Win32_Bios"},
        {"Select InterfaceType, Model From Win32_DiskDrive", {"InterfaceType", "Model"}, "Win32_DiskDrive"},
        {"SELECT a ,b , c FROM x", {"a", "b", "c"}, "x"},
        {"  select Name from Win32_ComputerSystem  ", {"Name"}, "Win32_ComputerSystem"},
        {"sElEcT _x1\tfRoM\tC_2", {"_x1"}, "C_2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        const WqlSelect s = parseWql(c.statement);
        EXPECT_EQ(s.properties, c.properties);
        EXPECT_EQ(s.className, c.className);
    }
}

TEST(Wql, SelectStarAsksForEveryProperty) {
    for (const char* statement : {"Select * From Win32_OperatingSystem", "select*from Win32_OperatingSystem"}) {
        const WqlSelect s = parseWql(statement);
        EXPECT_TRUE(s.allProperties) << statement;
        EXPECT_TRUE(s.properties.empty());
        EXPECT_EQ(s.className, "Win32_OperatingSystem");
    }
    EXPECT_FALSE(parseWql("Select Name From X").allProperties);
}

TEST(Wql, RefusesAnythingElseNamingTheColumn) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "column 1"},
        {"Select", "expected a property name or * at column 7"},
        {"Select *, Name From Win32_Bios", "expected From at column 9"},
        {"Select Name, * From Win32_Bios", "expected a property name"},
        {"Select Name From", "expected a class name"},
        {"Select Name,From Win32_Bios", "expected a property name at column 13"},
        {"Select Name, From Win32_Bios", "expected a property name"},
        {"Select NameFrom Win32_Bios", "expected a comma or From"},
        {"Select Name From Win32_Bios Where Name = 'x'", "expected the end of the statement at column 29"},
        {"Select Name From Win32_Bios;", "column 28"},
        {"Delete From Win32_Bios", "expected Select at column 1"},
        {"Select Name From 1Class", "column 18"},
        {"Select Name,,Caption From X", "expected a property name"},
    };
    for (const auto& [statement, fragment] : cases) {
        SCOPED_TRACE(statement);
        try {
            parseWql(statement);
            ADD_FAILURE() << "accepted";
        } catch (const WbemError& e) {
            EXPECT_EQ(e.code(), ErrorCode::InvalidQuery);
            EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
        }
    }
}
