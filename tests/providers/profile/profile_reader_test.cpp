#include <gtest/gtest.h>

#include <string>

#include "providers/profile/profile_provider.h"
#include "wbem/wbem_error.h"

using namespace vantrel::wbem;

TEST(ProfileReader, ReadsEveryKindOfValue) {
    const Profile p = parseProfile(R"({
        "credentials": { "user": "admin", "password": "secret" },
        "namespaces": { "root\\cimv2": { "Win32_SystemEnclosure": [
            { "ChassisTypes": [ 10, 3 ], "LockPresent": false, "Tag": "System Enclosure 0",
              "Count": 18446744073709551, "Neg": -4, "Gone": null, "Empty": [] } ] } } })",
                                   "p.json");
    ASSERT_TRUE(p.credentials);
    EXPECT_EQ(p.credentials->user, "admin");
    EXPECT_EQ(p.credentials->password, "secret");
    ASSERT_EQ(p.namespaces.size(), 1u);
    EXPECT_EQ(p.namespaces[0].name, "root\\cimv2");
    const auto& row = p.namespaces[0].classes.at(0).rows.at(0);
    auto get = [&](const std::string& name) {
        for (const auto& [k, v] : row.properties)
            if (k == name) return v;
        return Value::text("<missing>");
    };
    EXPECT_EQ(get("ChassisTypes"), Value::array({Value::integer(10), Value::integer(3)}));
    EXPECT_EQ(get("LockPresent"), Value::boolean(false));
    EXPECT_EQ(get("Tag"), Value::text("System Enclosure 0"));
    EXPECT_EQ(get("Count"), Value::integer(18446744073709551));
    EXPECT_EQ(get("Neg"), Value::integer(-4));
    EXPECT_TRUE(get("Gone").isAbsent());
    EXPECT_EQ(get("Empty"), Value::array({}));
}

TEST(ProfileReader, CredentialsAreOptional) {
    const Profile p = parseProfile(R"({ "namespaces": {} })", "p.json");
    EXPECT_FALSE(p.credentials);
    EXPECT_TRUE(p.namespaces.empty());
}

TEST(ProfileReader, BadProfilesGiveAnErrorNamingTheFileAndThePlace) {
    const std::pair<std::string, std::string> cases[] = {
        {"{ \"namespaces\": {\n  \"a\": [ }", "p.json:2:10: invalid JSON"},
        {"", "p.json:1:1: invalid JSON"},
        {R"({ "namespaces": { "root": { "C": [ { "P": 4e444444 } ] } } })", "p.json: invalid JSON: number overflow"},
        {"[]", "p.json: the profile: expected an object, found an array"},
        {R"({ "namespace": {} })", "p.json: namespace: unknown member"},
        {R"({ "credentials": { "user": "a", "password": "b" } })", "p.json: namespaces: missing"},
        {R"({ "credentials": { "user": "a" }, "namespaces": {} })", "credentials[\"password\"]: missing"},
        {R"({ "credentials": { "user": 1, "password": "b" }, "namespaces": {} })",
         "credentials[\"user\"]: expected a string, found a number"},
        {R"({ "namespaces": { "root": [] } })", "namespaces[\"root\"]: expected an object, found an array"},
        {R"({ "namespaces": { "root": { "C": {} } } })",
         "namespaces[\"root\"][\"C\"]: expected an array of rows, found an object"},
        {R"({ "namespaces": { "root": { "C": [ 5 ] } } })",
         "namespaces[\"root\"][\"C\"][0]: expected an object, found a number"},
        {R"({ "namespaces": { "root": { "C": [ {}, { "P": 1.5 } ] } } })",
         "namespaces[\"root\"][\"C\"][1][\"P\"]: expected a string, an integer, true, false, null or an array of "
         "those, found a number with a fraction"},
        {R"({ "namespaces": { "root": { "C": [ { "P": { "x": 1 } } ] } } })", "[\"P\"]: expected a string"},
        {R"({ "namespaces": { "root": { "C": [ { "P": [ [ 1 ] ] } ] } } })",
         "[\"P\"][0]: expected a string, an integer, true or false inside an array, found an array"},
        {R"({ "namespaces": { "root": { "C": [ { "P": [ null ] } ] } } })", "[\"P\"][0]: expected"},
        {R"({ "namespaces": { "root": { "C": [ { "P": [ 1, "x" ] } ] } } })",
         "[\"P\"][1]: the elements of an array must all be of one type"},
        {R"({ "namespaces": { "root": { "C": [ { "P": 9223372036854775808 } ] } } })", "the integer is too large"},
        {R"({ "namespaces": { "root": { "C": [ { "Name": 1, "NAME": 2 } ] } } })", "the property is listed twice"},
        {R"({ "namespaces": { "root": { "Win32_Bios": [], "WIN32_BIOS": [] } } })", "the class is listed twice"},
        {R"({ "namespaces": { "root\\cimv2": {}, "ROOT/CIMV2": {} } })", "the namespace is listed twice"},
        {"{ \"namespaces\": { \"root\": { \"C\": [ { \"P\": \"\xff\" } ] } } }", "invalid JSON"},
    };
    for (const auto& [json, fragment] : cases) {
        SCOPED_TRACE(json);
        try {
            parseProfile(json, "p.json");
            ADD_FAILURE() << "accepted";
        } catch (const WbemError& e) {
            EXPECT_EQ(e.code(), ErrorCode::InvalidProfile);
            EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
        }
    }
}

TEST(ProfileReader, DeepNestingIsAnErrorNotACrash) {
    for (const std::size_t depth : {std::size_t{3}, std::size_t{200000}}) {
        const std::string json = R"({ "namespaces": { "root": { "C": [ { "P": )" + std::string(depth, '[') +
                                 std::string(depth, ']') + " } ] } } }";
        EXPECT_THROW(parseProfile(json, "deep.json"), WbemError);
        std::string objects;
        for (std::size_t i = 0; i < depth; ++i) objects += R"({"a":)";
        objects += "1" + std::string(depth, '}');
        EXPECT_THROW(parseProfile(R"({ "namespaces": )" + objects + "}", "deep.json"), WbemError);
    }
}

TEST(ProfileReader, LoadingAFileNamesIt) {
    try {
        loadProfile(PROFILE_FIXTURES "/no-such-profile.json");
        ADD_FAILURE() << "accepted";
    } catch (const WbemError& e) {
        EXPECT_NE(std::string(e.what()).find("no-such-profile.json: cannot read the profile"), std::string::npos)
            << e.what();
    }
    try {
        loadProfile(PROFILE_FIXTURES "/wrong_type.json");
        ADD_FAILURE() << "accepted";
    } catch (const WbemError& e) {
        EXPECT_NE(std::string(e.what()).find("wrong_type.json: namespaces[\"root\\cimv2\"][\"Win32_Fan\"][1]"),
                  std::string::npos)
            << e.what();
    }
}
