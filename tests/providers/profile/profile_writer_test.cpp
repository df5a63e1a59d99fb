#include <gtest/gtest.h>

#include <algorithm>

#include "providers/profile/profile_provider.h"

using namespace vantrel::wbem;

TEST(ProfileWriter, WhatItWritesReadsBackTheSame) {
    Profile p;
    p.credentials = ProfileCredentials{"ad\"min", "sec\\ret"};
    ProfileClass enclosure{"Win32_SystemEnclosure",
                           {TableRow{{{"ChassisTypes", Value::array({Value::integer(10), Value::integer(3)})},
                                      {"LockPresent", Value::boolean(false)},
                                      {"Tag", Value::text("Größe \"1\"\n\ttab")},
                                      {"Count", Value::integer(-9223372036854775807LL)},
                                      {"Gone", Value()},
                                      {"Empty", Value::array({})}}},
                            TableRow{}}};
    p.namespaces.push_back({"root\\cimv2", {enclosure, ProfileClass{"Win32_Fan", {}}}});
    p.namespaces.push_back({"root\\wmi", {}});
    const Profile back = parseProfile(writeProfile(p), "written.json");
    ASSERT_TRUE(back.credentials);
    EXPECT_EQ(back.credentials->user, p.credentials->user);
    EXPECT_EQ(back.credentials->password, p.credentials->password);
    ASSERT_EQ(back.namespaces.size(), 2u);
    EXPECT_EQ(back.namespaces[1].name, "root\\wmi");
    // The reader keeps members in name order; names and values are what count.
    auto sorted = [](std::vector<std::pair<std::string, Value>> v) {
        std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        return v;
    };
    const auto& classes = back.namespaces[0].classes;
    ASSERT_EQ(classes.size(), 2u);
    const auto& fan = classes[0].name == "Win32_Fan" ? classes[0] : classes[1];
    const auto& read = classes[0].name == "Win32_Fan" ? classes[1] : classes[0];
    EXPECT_EQ(read.name, "Win32_SystemEnclosure");
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(sorted(read.rows[0].properties), sorted(enclosure.rows[0].properties));
    EXPECT_TRUE(read.rows[1].properties.empty());
    EXPECT_EQ(fan.name, "Win32_Fan");
    EXPECT_TRUE(fan.rows.empty());
}

TEST(ProfileWriter, BytesThatAreNotUtf8DoNotStopTheSave) {
    Profile p;
    p.namespaces.push_back({"root\\cimv2", {ProfileClass{"Win32_Bios", {TableRow{{{"Name", Value::text("A\xff" "B")}}}}}}});
    const Profile back = parseProfile(writeProfile(p), "written.json");
    EXPECT_EQ(back.namespaces[0].classes[0].rows[0].properties[0].second, Value::text("A\xef\xbf\xbd" "B"));
}
