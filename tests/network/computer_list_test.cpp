#include "network/discovery/computer_list.h"

#include <gtest/gtest.h>

namespace vantrel::network {
namespace {

using Source = DiscoverySource;

std::vector<std::string> names(const ComputerList& list) {
    std::vector<std::string> out;
    for (const auto& c : list.computers()) out.push_back(c.name);
    return out;
}

TEST(ComputerList, MergesByNameIgnoringCaseThenByAddressKeepingFirstSeenOrder) {
    ComputerList list;
    list.add({"me", {"10.0.0.1"}, Source::Self});
    list.add({"PC-A", {"10.0.0.2"}, Source::Wsd});
    list.add({"pc-b", {"10.0.0.3"}, Source::Mdns});
    list.add({"pc-a", {"10.0.0.9"}, Source::Mdns});   // same computer, one more address
    list.add({"PC-B-NAS", {"10.0.0.3"}, Source::Wsd});  // another name on a known address
    list.add({"ME", {}, Source::Wsd});
    EXPECT_EQ(names(list), (std::vector<std::string>{"me", "PC-A", "pc-b"}));
    const auto computers = list.computers();
    EXPECT_EQ(computers[0].source, Source::Self);
    EXPECT_EQ(computers[1].source, Source::Wsd);
    EXPECT_EQ(computers[1].addresses, (std::vector<std::string>{"10.0.0.2", "10.0.0.9"}));
    EXPECT_EQ(computers[2].addresses, (std::vector<std::string>{"10.0.0.3"}));
}

// A host announces each service apart; the merged computer carries them all,
// and SSH is offered only to a computer that does not run our agent.
TEST(ComputerList, AComputersServiceTypesAreMergedAndTellWhetherSshIsOffered) {
    const struct {
        std::vector<std::vector<std::string>> announcements;
        std::vector<std::string> services;
        bool ssh;
    } cases[] = {
        {{{"_workstation._tcp"}, {"_ssh._tcp"}, {"_ssh._tcp"}}, {"_workstation._tcp", "_ssh._tcp"}, true},
        {{{"_sftp-ssh._tcp"}}, {"_sftp-ssh._tcp"}, true},
        {{{"_ssh._tcp"}, {"_vantrel._tcp"}}, {"_ssh._tcp", "_vantrel._tcp"}, false},
        {{{"_smb._tcp"}, {}}, {"_smb._tcp"}, false},
        {{{}}, {}, false},
    };
    for (const auto& c : cases) {
        ComputerList list;
        list.add({"pc", {"10.0.0.2"}, Source::Wsd});
        for (const auto& services : c.announcements) list.add({"PC", {"10.0.0.2"}, Source::Mdns, services});
        ASSERT_EQ(list.computers().size(), 1u);
        EXPECT_EQ(list.computers()[0].services, c.services);
        EXPECT_EQ(offersSsh(list.computers()[0]), c.ssh) << c.services.size();
    }
}

TEST(ComputerList, IgnoresNamesThatCannotBeComputerNames) {
    ComputerList list;
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "tab\there", "del\x7f"}) list.add({bad, {}, Source::Wsd});
    list.add({std::string(256, 'x'), {}, Source::Wsd});
    EXPECT_TRUE(list.computers().empty());
    list.add({"Ok Name [aa:bb]", {}, Source::Mdns});
    EXPECT_EQ(list.computers().size(), 1u);
}

TEST(ComputerList, HoldsAtMost4096ButStillMergesIntoKnownOnes) {
    ComputerList list;
    for (std::size_t i = 0; i < kMaxComputers + 10; ++i)
        list.add({"host" + std::to_string(i), {"10.1." + std::to_string(i / 256) + "." + std::to_string(i % 256)},
                  Source::Mdns});
    EXPECT_EQ(list.computers().size(), kMaxComputers);
    EXPECT_TRUE(list.full());
    EXPECT_TRUE(list.add({"HOST0", {"192.168.9.9"}, Source::Wsd}));
    EXPECT_FALSE(list.add({"newcomer", {}, Source::Wsd}));
    EXPECT_EQ(list.computers().front().addresses.back(), "192.168.9.9");
}

}  // namespace
}  // namespace vantrel::network
