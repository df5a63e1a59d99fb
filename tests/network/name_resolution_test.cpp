#include "network/name_resolution.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

namespace vantrel::network {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(NameResolution, FirstAddressButNeverLoopbackWhenAnotherExists) {
    const struct {
        std::vector<std::string> answer;
        std::string chosen;
    } cases[] = {
        {{"10.0.0.5", "10.0.0.9"}, "10.0.0.5"},
        {{"127.0.1.1", "192.168.0.7"}, "192.168.0.7"},
        {{"127.0.0.1", "127.0.1.1", "10.0.0.1"}, "10.0.0.1"},
        {{"127.0.1.1"}, "127.0.1.1"},
        {{}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(chooseAddress(c.answer), c.chosen);
}

TEST(NameResolution, SystemResolverThenDiscoveredAddressThenDotLocal) {
    std::map<std::string, std::vector<std::string>> system{{"pc-a", {"127.0.1.1", "10.0.0.5"}},
                                                           {"this-pc", {"127.0.1.1"}},
                                                           {"lonely", {"127.0.1.1"}}};
    std::map<std::string, std::vector<std::string>> mdns{{"pc-c.local", {"10.0.0.7"}}, {"pc-d.local", {"10.0.0.8"}}};
    NameResolvers resolvers{[system](const std::string& n) { auto it = system.find(n); return it == system.end() ? std::vector<std::string>{} : it->second; },
                            [mdns](const std::string& n) { auto it = mdns.find(n); return it == mdns.end() ? std::vector<std::string>{} : it->second; }};
    const std::vector<NameToResolve> names = {
        {"pc-a", {"10.9.9.9"}},  // the resolver wins over what discovery saw
        {"pc-b", {"10.0.0.6"}},  // only discovery knows it
        {"pc-c", {}},            // only multicast DNS knows it
        {"pc-d.local", {}},      // already a .local name
        {"nobody", {}},
        {"", {"10.0.0.1"}},
        {"this-pc", {"10.0.0.9"}},  // the host-name entry 127.0.1.1 gives way to what was seen
        {"lonely", {}},             // loopback is all there is
    };
    EXPECT_EQ(resolveNames(names, resolvers), (std::vector<std::string>{"10.0.0.5", "10.0.0.6", "10.0.0.7", "10.0.0.8",
                                                                        "", "", "10.0.0.9", "127.0.1.1"}));
}

TEST(NameResolution, ManySlowLookupsRunInParallelAndAnswerInOrder) {
    NameResolvers resolvers{[](const std::string& n) {
                                std::this_thread::sleep_for(100ms);
                                return std::vector<std::string>{"10.0." + n};
                            },
                            {}};
    std::vector<NameToResolve> names;
    std::vector<std::string> expected;
    for (int i = 0; i < 256; ++i) {
        names.push_back({std::to_string(i / 256) + "." + std::to_string(i % 256), {}});
        expected.push_back("10.0." + names.back().name);
    }
    const auto start = Clock::now();
    EXPECT_EQ(resolveNames(names, resolvers), expected);
    EXPECT_LT(Clock::now() - start, 2s);
}

TEST(NameResolution, AHangingLookupIsAbandonedAtTheLimit) {
    auto released = std::make_shared<std::atomic<bool>>(false);
    NameResolvers resolvers{[released](const std::string& n) {
                                if (n == "hangs")
                                    while (!*released) std::this_thread::sleep_for(10ms);
                                return std::vector<std::string>{"10.0.0.1"};
                            },
                            {}};
    std::vector<NameToResolve> names = {{"hangs", {}}};
    for (int i = 0; i < 40; ++i) names.push_back({"fine", {}});
    const auto start = Clock::now();
    const auto answers = resolveNames(names, resolvers, 300ms);
    const auto took = Clock::now() - start;
    *released = true;
    EXPECT_EQ(answers.front(), "");
    for (std::size_t i = 1; i < answers.size(); ++i) EXPECT_EQ(answers[i], "10.0.0.1") << i;
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 1s);
}

}  // namespace
}  // namespace vantrel::network
