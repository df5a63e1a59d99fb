#include <gtest/gtest.h>

#include <memory>

#include "providers/profile/profile_provider.h"
#include "wbem/wbem_error.h"

using namespace vantrel::wbem;

namespace {

std::shared_ptr<Provider> provider(const std::string& json) {
    return std::make_shared<ProfileProvider>(std::make_shared<Profile>(parseProfile(json, "p.json")));
}

const char* kProfile = R"({
    "credentials": { "user": "admin", "password": "secret" },
    "namespaces": { "root\\cimv2": {
        "Win32_BIOS": [ { "Name": "BIOS A", "Manufacturer": "Maker A" },
                        { "Name": "BIOS B", "Manufacturer": null } ],
        "Win32_Fan": [] } } })";

ErrorCode connectError(Provider& p, const std::string& server, const std::string& ns, const std::string& user,
                       const std::string& password) {
    try {
        Locator(std::shared_ptr<Provider>(&p, [](Provider*) {})).ConnectServer(server, ns, user, password);
    } catch (const WbemError& e) {
        return e.code();
    }
    return static_cast<ErrorCode>(-1);
}

}  // namespace

TEST(ProfileProvider, ConnectionRules) {
    auto p = provider(kProfile);
    struct Case {
        const char* server;
        const char* ns;
        const char* user;
        const char* password;
        std::optional<ErrorCode> error;
    };
    const Case cases[] = {
        {"10.0.0.7", "root\\cimv2", "admin", "secret", std::nullopt},
        {"10.0.0.7", "ROOT/CIMV2", "admin", "secret", std::nullopt},
        {"10.0.0.7", "root\\cimv2", "admin", "wrong", ErrorCode::AccessDenied},
        {"10.0.0.7", "root\\cimv2", "Admin", "secret", ErrorCode::AccessDenied},
        {"10.0.0.7", "root\\cimv2", "", "", ErrorCode::AccessDenied},
        {"10.0.0.7", "root\\default", "admin", "secret", ErrorCode::InvalidNamespace},
        {"", "root\\cimv2", "", "", std::nullopt},
        {"", "root\\cimv2", "admin", "wrong", std::nullopt},
        {"", "root\\other", "", "", ErrorCode::InvalidNamespace},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.server) + "|" + c.ns + "|" + c.user + "|" + c.password);
        if (c.error) {
            EXPECT_EQ(connectError(*p, c.server, c.ns, c.user, c.password), *c.error);
        } else {
            EXPECT_NE(Locator(p).ConnectServer(c.server, c.ns, c.user, c.password), nullptr);
        }
    }
    // Without credentials in the profile any login to a named server is let in.
    auto open = provider(R"({ "namespaces": { "root\\cimv2": {} } })");
    EXPECT_NE(Locator(open).ConnectServer("10.0.0.8", "root\\cimv2", "x", "y"), nullptr);
}

TEST(ProfileProvider, RowsAreDeliveredInOrderAndReadByNameWithoutRegardToCase) {
    auto services = Locator(provider(kProfile)).ConnectServer("", "root\\cimv2", "", "");
    auto rows = services->ExecQuery("Select Name,Manufacturer From Win32_Bios");
    auto first = rows->next();
    auto second = rows->next();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(rows->next(), nullptr);
    EXPECT_EQ(rows->next(), nullptr);
    EXPECT_EQ(first->property("Name"), Value::text("BIOS A"));
    EXPECT_EQ(first->property("MANUFACTURER"), Value::text("Maker A"));
    EXPECT_TRUE(second->property("Manufacturer").isAbsent());
    // A property the query did not ask for cannot be read.
    auto narrow = services->ExecQuery("Select Name From Win32_BIOS")->next();
    try {
        narrow->property("Manufacturer");
        ADD_FAILURE() << "read an unselected property";
    } catch (const WbemError& e) {
        EXPECT_EQ(e.code(), ErrorCode::NotFound);
    }
    // Rows stay readable once their set and connection are gone.
    services.reset();
    rows.reset();
    EXPECT_EQ(first->property("Name"), Value::text("BIOS A"));
}

TEST(ProfileProvider, SelectedButMissingPropertiesAreAbsent) {
    auto services = Locator(provider(kProfile)).ConnectServer("", "root\\cimv2", "", "");
    auto row = services->ExecQuery("Select Name, Status From Win32_BIOS")->next();
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->property("Status").isAbsent());
}

TEST(ProfileProvider, QueryErrorsSurfaceOnlyWhileEnumeratingAndRepeat) {
    auto services = Locator(provider(kProfile)).ConnectServer("", "root\\cimv2", "", "");
    const std::pair<const char*, ErrorCode> cases[] = {
        {"Select Name From Win32_TapeDrive", ErrorCode::InvalidClass},
        {"Select Name, From Win32_BIOS", ErrorCode::InvalidQuery},
    };
    for (const auto& [wql, code] : cases) {
        SCOPED_TRACE(wql);
        std::unique_ptr<RowSet> rows;
        ASSERT_NO_THROW(rows = services->ExecQuery(wql));
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                rows->next();
                ADD_FAILURE() << "enumerated";
            } catch (const WbemError& e) {
                EXPECT_EQ(e.code(), code);
            }
        }
    }
    EXPECT_EQ(services->ExecQuery("Select Name From Win32_Fan")->next(), nullptr);
}
