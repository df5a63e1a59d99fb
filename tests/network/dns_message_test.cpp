#include "network/discovery/dns_message.h"

#include <gtest/gtest.h>

namespace vantrel::network {
namespace {

// An answer avahi-daemon gave to a one-shot query for _workstation._tcp.local
// on the test LAN: PTR, TXT, SRV, AAAA and A, with compressed names.
const std::string kAvahiAnswer(
    "\x00\x00\x84\x00\x00\x01\x00\x05\x00\x00\x00\x00\x0c_workstation\x04_tcp\x05local\x00\x00\x0c\x00\x01"
    "\xc0\x0c\x00\x0c\x00\x01\x00\x00\x00\n\x00 \x1d" "avahipeer [02:45:50:b4:2c:37]\xc0\x0c"
    "\xc0\x35\x00\x10\x00\x01\x00\x00\x00\n\x00\x01\x00"
    "\xc0\x35\x00!\x00\x01\x00\x00\x00\n\x00\x12\x00\x00\x00\x00\x00\t\tavahipeer\xc0\x1e"
    "\xc0t\x00\x1c\x00\x01\x00\x00\x00\n\x00\x10\xfe\x80\x00\x00\x00\x00\x00\x00\x00" "EP\xff\xfe\xb4,7"
    "\xc0t\x00\x01\x00\x01\x00\x00\x00\n\x00\x04\n\xd5\x00\x0c",
    172);

TEST(DnsMessage, ReadsPtrSrvAndAFromARealAnswer) {
    const auto records = parseDnsResponse(kAvahiAnswer);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].type, kDnsTypePtr);
    EXPECT_EQ(records[0].name, "_workstation._tcp.local");
    EXPECT_EQ(records[0].target, "avahipeer [02:45:50:b4:2c:37]._workstation._tcp.local");
    EXPECT_EQ(records[1].type, kDnsTypeSrv);
    EXPECT_EQ(records[1].name, records[0].target);
    EXPECT_EQ(records[1].target, "avahipeer.local");
    EXPECT_EQ(records[1].port, 9);
    EXPECT_EQ(records[2].type, kDnsTypeA);
    EXPECT_EQ(records[2].name, "avahipeer.local");
    EXPECT_EQ(records[2].ipv4, "10.213.0.12");
}

TEST(DnsMessage, QueryCarriesEveryQuestion) {
    const std::string query = buildDnsQuery({{"_ssh._tcp.local", kDnsTypePtr}, {"Host.local", kDnsTypeA}});
    static constexpr char kExpected[] =
        "\x00\x00\x00\x00\x00\x02\x00\x00\x00\x00\x00\x00"
        "\x04_ssh\x04_tcp\x05local\x00\x00\x0c\x00\x01"
        "\x04Host\x05local\x00\x00\x01\x00\x01";
    const std::string expected(kExpected, sizeof kExpected - 1);
    EXPECT_EQ(query, expected);
    EXPECT_TRUE(buildDnsQuery({{std::string(64, 'a') + ".local", kDnsTypeA}}).empty());
    EXPECT_TRUE(buildDnsQuery({{"a..local", kDnsTypeA}}).empty());
    std::string tooLong;
    for (int i = 0; i < 5; ++i) tooLong += std::string(60, 'a') + ".";
    EXPECT_TRUE(buildDnsQuery({{tooLong + "local", kDnsTypeA}}).empty());
}

TEST(DnsMessage, MalformedAnswersStopAtTheFault) {
    std::string pointerLoop(
        "\x00\x00\x84\x00\x00\x00\x00\x01\x00\x00\x00\x00"
        "\xc0\x0c\x00\x01\x00\x01\x00\x00\x00\x0a\x00\x04\x0a\x00\x00\x01",
        28);
    std::string pointerOutside = pointerLoop;
    pointerOutside[13] = '\x7f';
    std::string longRdata = kAvahiAnswer;
    longRdata[kAvahiAnswer.size() - 5] = '\x40';  // the A record's length runs past the end
    const struct {
        const char* what;
        std::string bytes;
        std::size_t records;
    } cases[] = {
        {"empty", "", 0},
        {"header only, a query", std::string("\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00", 12), 0},
        {"truncated header", std::string("\x00\x00\x84", 3), 0},
        {"pointer to itself", pointerLoop, 0},
        {"pointer past the end", pointerOutside, 0},
        {"truncated in the middle", kAvahiAnswer.substr(0, 100), 1},
        {"last record's data too long", longRdata, 2},
        {"oversized", kAvahiAnswer + std::string(kMaxDnsMessage, '\0'), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(parseDnsResponse(c.bytes).size(), c.records) << c.what;
}

TEST(DnsMessage, CountsLargerThanTheMessageAreHarmless) {
    std::string lying = kAvahiAnswer;
    lying[6] = '\xff';
    lying[7] = '\xff';
    EXPECT_EQ(parseDnsResponse(lying).size(), 3u);
}

}  // namespace
}  // namespace vantrel::network
