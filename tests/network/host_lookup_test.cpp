#include "network/host_lookup.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

namespace vantrel::network {
namespace {

bool isDottedIpv4(const std::string& s) {
    in_addr a{};
    return inet_pton(AF_INET, s.c_str(), &a) == 1;
}

TEST(HostLookup, ResolvesNumericAndLocalNames) {
    EXPECT_EQ(ipv4Addresses("127.0.0.1"), std::vector<std::string>{"127.0.0.1"});
    EXPECT_EQ(ipv4Addresses("10.1.2.3"), std::vector<std::string>{"10.1.2.3"});
    const auto local = ipv4Addresses("localhost");
    ASSERT_FALSE(local.empty());
    EXPECT_TRUE(isDottedIpv4(local.front()));
}

TEST(HostLookup, UnknownOrEmptyNamesGiveNothing) {
    EXPECT_TRUE(ipv4Addresses("").empty());
    EXPECT_TRUE(ipv4Addresses("no-such-host.invalid").empty());
}

TEST(HostLookup, LocalAddressIsDotted) {
    const std::string a = localIpv4Address();
    if (a.empty()) GTEST_SKIP() << "this machine's name does not resolve and no interface is up";
    EXPECT_TRUE(isDottedIpv4(a)) << a;
}

}  // namespace
}  // namespace vantrel::network
