// Discovery on the namespace LAN that lan.sh builds; this program runs in
// vt-probe. Real peers: wsdd (WSDPEER) and avahi-daemon (avahipeer).

#include <sched.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <future>
#include <thread>
#include <set>

#include "lan_peers.h"
#include "network/discovery/avahi_browser.h"
#include "network/discovery/avahi_publisher.h"
#include "network/discovery/discovery_error.h"
#include "network/discovery/mdns_query.h"
#include "network/discovery/network_interfaces.h"
#include "network/discovery/network_discoverer.h"
#include "network/name_resolution.h"

namespace vantrel::network {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string lanValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class LanDiscovery : public ::testing::Test {
protected:
    void SetUp() override {
        if (lanValue("VANTREL_LAN_WSD_NAME").empty()) GTEST_SKIP() << "not on the test LAN (run through lan.sh)";
    }

    // Discovers with `window`, checking that the run keeps to it.
    std::vector<DiscoveredComputer> discover(std::chrono::milliseconds window) {
        const auto start = Clock::now();
        auto found = NetworkDiscoverer().discover({window});
        const auto took = Clock::now() - start;
        EXPECT_GE(took, window);
        EXPECT_LE(took, window + 500ms);
        return found;
    }
};

const DiscoveredComputer* find(const std::vector<DiscoveredComputer>& list, const std::string& name) {
    auto it = std::find_if(list.begin(), list.end(), [&](const DiscoveredComputer& c) { return c.name == name; });
    return it == list.end() ? nullptr : &*it;
}

TEST_F(LanDiscovery, FindsTheWsddAndAvahiPeersAndResolvesTheirAddresses) {
    const auto found = discover(kDefaultListeningWindow);
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.front().source, DiscoverySource::Self);
    EXPECT_EQ(found.front().name, thisComputer().name);
    ASSERT_EQ(found.size(), 3u);

    const auto* wsd = find(found, lanValue("VANTREL_LAN_WSD_NAME"));
    ASSERT_NE(wsd, nullptr);
    EXPECT_EQ(wsd->source, DiscoverySource::Wsd);
    EXPECT_EQ(wsd->addresses, std::vector<std::string>{lanValue("VANTREL_LAN_WSD_ADDRESS")});
    // Announced twice (workstation and ssh), listed once.
    const auto* mdns = find(found, lanValue("VANTREL_LAN_AVAHI_NAME"));
    ASSERT_NE(mdns, nullptr);
    EXPECT_EQ(mdns->source, DiscoverySource::Mdns);
    EXPECT_EQ(mdns->addresses, std::vector<std::string>{lanValue("VANTREL_LAN_AVAHI_ADDRESS")});
    auto services = mdns->services;
    std::sort(services.begin(), services.end());
    EXPECT_EQ(services, (std::vector<std::string>{"_ssh._tcp", "_workstation._tcp"}));
    EXPECT_TRUE(offersSsh(*mdns));
    EXPECT_TRUE(wsd->services.empty());

    // The LAN has no name server: the addresses come from discovery and from
    // NAME.local.
    std::vector<NameToResolve> names;
    for (const auto& c : found) names.push_back({c.name, c.addresses});
    names.push_back({lanValue("VANTREL_LAN_AVAHI_NAME"), {}});
    const auto addresses = resolveNames(names, systemResolvers());
    EXPECT_EQ(addresses[1], found[1].addresses.front());
    EXPECT_EQ(addresses[2], found[2].addresses.front());
    EXPECT_EQ(addresses[3], lanValue("VANTREL_LAN_AVAHI_ADDRESS"));
    EXPECT_EQ(addresses[0], thisComputer().addresses.front());
}

TEST_F(LanDiscovery, TheAvahiDaemonFindsTheAvahiPeer) {
    if (lanValue("DBUS_SYSTEM_BUS_ADDRESS").empty()) GTEST_SKIP() << "no avahi-daemon next to this program (lan.sh run-with-avahi)";
    const auto found = browseAvahi(Clock::now() + 3s);
    ASSERT_TRUE(found.has_value()) << "the daemon could not be reached";
    ASSERT_EQ(found->size(), 2u);  // workstation and ssh of the one host
    std::vector<std::string> services;
    for (const auto& timed : *found) {
        ASSERT_EQ(timed.computer.services.size(), 1u);
        services.push_back(timed.computer.services[0]);
        EXPECT_EQ(timed.computer.name, lanValue("VANTREL_LAN_AVAHI_NAME"));
        EXPECT_EQ(timed.computer.addresses, std::vector<std::string>{lanValue("VANTREL_LAN_AVAHI_ADDRESS")});
    }
    std::sort(services.begin(), services.end());
    EXPECT_EQ(services, (std::vector<std::string>{"_ssh._tcp", "_workstation._tcp"}));
}

TEST_F(LanDiscovery, TheAvahiDaemonAnnouncesOurServiceToTheLan) {
    if (lanValue("DBUS_SYSTEM_BUS_ADDRESS").empty()) GTEST_SKIP() << "no avahi-daemon next to this program (lan.sh run-with-avahi)";
    auto publication = publishAvahiService("_vantrel._tcp", 5986, "vantrel lan test");
    ASSERT_NE(publication, nullptr) << "the daemon could not be reached";
    // Heard from another namespace through the LAN.
    TimedComputers heard;
    {
        lan::NamespaceThread other(lanValue("VANTREL_LAN_FAKE_NAMESPACE"), [&](const std::atomic<bool>&) {
            heard = queryMdnsComputers(multicastInterfaces(), Clock::now() + 3s);
        });
    }
    std::set<std::string> names;
    for (const auto& timed : heard) names.insert(timed.computer.name);
    EXPECT_EQ(names, (std::set<std::string>{lanValue("VANTREL_LAN_AVAHI_NAME"), thisComputer().name}));
    publication.reset();
}

TEST_F(LanDiscovery, HostileWsdAnswersAreIgnored) {
    const std::string fake = lanValue("VANTREL_LAN_FAKE_ADDRESS");
    const std::string base = "http://" + fake + ":8080/";
    lan::NamespaceThread http(lanValue("VANTREL_LAN_FAKE_NAMESPACE"), [](const std::atomic<bool>& stop) {
        lan::runHttpServer(stop, 8080, [](const std::string& path) -> std::string {
            if (path == "/good") return lan::computerMetadata("FAKEGOOD/Workgroup:LAN");
            if (path == "/elsewhere") return lan::computerMetadata("ELSEWHERE/Workgroup:LAN");
            if (path == "/huge") return lan::computerMetadata("HUGE/" + std::string(1 << 20, 'x'));
            if (path == "/deep") return std::string(200000, '<');
            if (path == "/traversal") return lan::computerMetadata("../../etc/Workgroup:LAN");
            return "<not-xml";
        });
    });
    lan::NamespaceThread wsd(lanValue("VANTREL_LAN_FAKE_NAMESPACE"), [&](const std::atomic<bool>& stop) {
        lan::runWsdResponder(stop, [&] {
            return std::vector<std::string>{
                "<soap:Envelope><unclosed",
                std::string(60000, '<'),
                lan::probeMatches({{"urn:uuid:huge", base + "huge"},
                                   {"urn:uuid:deep", base + "deep"},
                                   {"urn:uuid:bad", base + "bad"},
                                   {"urn:uuid:traversal", base + "traversal"},
                                   {"urn:uuid:elsewhere", "http://10.213.0.14:8080/elsewhere"},
                                   {"urn:uuid:good", base + "good"}}),
            };
        });
    });
    const auto found = discover(2s);
    EXPECT_TRUE(http.error().empty()) << http.error();
    EXPECT_TRUE(wsd.error().empty()) << wsd.error();
    const auto* good = find(found, "FAKEGOOD");
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(good->addresses, std::vector<std::string>{fake});
    for (const char* bad : {"HUGE", "ELSEWHERE", "..", ""}) EXPECT_EQ(find(found, bad), nullptr) << bad;
    EXPECT_EQ(found.size(), 4u);  // this computer, the two real peers, FAKEGOOD
}

TEST_F(LanDiscovery, HelloAndByeHeardWhileListeningCount) {
    const std::string base = "http://" + lanValue("VANTREL_LAN_FAKE_ADDRESS") + ":8080/";
    lan::NamespaceThread http(lanValue("VANTREL_LAN_FAKE_NAMESPACE"), [](const std::atomic<bool>& stop) {
        lan::runHttpServer(stop, 8080, [](const std::string& path) {
            return lan::computerMetadata(path == "/leaving" ? "LEAVING/Workgroup:LAN" : "ARRIVING/Workgroup:LAN");
        });
    });
    lan::NamespaceThread wsd(lanValue("VANTREL_LAN_FAKE_NAMESPACE"), [&](const std::atomic<bool>& stop) {
        lan::runWsdResponder(stop, [&] { return std::vector<std::string>{lan::probeMatches({{"urn:uuid:leaving", base + "leaving"}})}; });
    });
    lan::NamespaceThread announcer(lanValue("VANTREL_LAN_FAKE_NAMESPACE"), [&](const std::atomic<bool>&) {
        std::this_thread::sleep_for(800ms);
        lan::sendToWsdGroup(lan::byeMessage("urn:uuid:leaving"));
        lan::sendToWsdGroup(lan::helloMessage("urn:uuid:arriving", base + "arriving"));
    });
    const auto found = discover(2s);
    EXPECT_EQ(find(found, "LEAVING"), nullptr);
    const auto* arriving = find(found, "ARRIVING");
    ASSERT_NE(arriving, nullptr);
    EXPECT_EQ(arriving->source, DiscoverySource::Wsd);
}

TEST_F(LanDiscovery, AFloodOfWsdAnswersKeepsToTheWindow) {
    const std::string base = "http://" + lanValue("VANTREL_LAN_FAKE_ADDRESS") + ":8080/";
    std::atomic<int> served{0};
    lan::NamespaceThread http(lanValue("VANTREL_LAN_FAKE_NAMESPACE"), [&](const std::atomic<bool>& stop) {
        lan::runHttpServer(stop, 8080, [&](const std::string& path) {
            ++served;
            return lan::computerMetadata("FLOOD" + path.substr(1) + "/Workgroup:LAN");
        });
    });
    lan::NamespaceThread wsd(lanValue("VANTREL_LAN_FAKE_NAMESPACE"), [&](const std::atomic<bool>& stop) {
        lan::runWsdResponder(stop, [&] {
            std::vector<std::string> datagrams;
            for (int d = 0; d < 250; ++d) {
                std::vector<std::pair<std::string, std::string>> matches;
                for (int m = 0; m < 20; ++m) {
                    const std::string n = std::to_string(d * 20 + m);
                    matches.push_back({"urn:uuid:flood-" + n, base + n});
                }
                datagrams.push_back(lan::probeMatches(matches));
            }
            return datagrams;
        });
    });
    const auto found = discover(2s);
    // Many names asked for; all from one address, so they are one computer.
    EXPECT_GE(served.load(), 16);
    EXPECT_EQ(std::count_if(found.begin(), found.end(),
                            [](const DiscoveredComputer& c) { return c.name.rfind("FLOOD", 0) == 0; }),
              1);
    std::string names;
    for (const auto& c : found) names += c.name + " ";
    EXPECT_EQ(found.size(), 4u) << names;
}

TEST_F(LanDiscovery, AFloodOfMdnsAnswersIsCappedAt4096Computers) {
    lan::NamespaceThread mdns(lanValue("VANTREL_LAN_FAKE_NAMESPACE"), [](const std::atomic<bool>& stop) {
        lan::runMdnsResponder(stop, [] {
            std::vector<std::string> datagrams;
            for (int d = 0; d < 500; ++d) {
                std::vector<lan::FakeService> services;
                for (int s = 0; s < 10; ++s) {
                    const int n = d * 10 + s;
                    const std::string host = "flood" + std::to_string(n) + ".local";
                    services.push_back({"flood" + std::to_string(n) + "._workstation._tcp.local", host,
                                        "10.214." + std::to_string(n / 256) + "." + std::to_string(n % 256)});
                }
                datagrams.push_back(lan::mdnsAnswer(services));
            }
            return datagrams;
        });
    });
    const auto found = discover(3s);
    EXPECT_TRUE(mdns.error().empty()) << mdns.error();
    EXPECT_EQ(found.size(), kMaxComputers);
    EXPECT_EQ(found.front().source, DiscoverySource::Self);
    EXPECT_NE(find(found, "flood0"), nullptr);
}

TEST_F(LanDiscovery, ANetworkWithoutPeersListsOnlyThisComputer) {
    std::vector<DiscoveredComputer> found;
    {
        lan::NamespaceThread alone(lanValue("VANTREL_LAN_ALONE_NAMESPACE"), [&](const std::atomic<bool>&) {
            found = discover(1s);
        });
    }
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front().source, DiscoverySource::Self);
}

TEST_F(LanDiscovery, NoUsableInterfaceIsError1722) {
    auto outcome = std::async(std::launch::async, [] {
        if (unshare(CLONE_NEWNET) != 0) return -1;  // a namespace with only a loopback that is down
        try {
            NetworkDiscoverer().discover({500ms});
        } catch (const DiscoveryError& e) {
            return e.code();
        }
        return 0;
    });
    EXPECT_EQ(outcome.get(), kErrorNotAccessible);
}

}  // namespace
}  // namespace vantrel::network
