#include "network/discovery/mdns_query.h"

#include <sys/socket.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "network/discovery/computer_list.h"
#include "network/discovery/discoverer.h"
#include "network/discovery/discovery_error.h"
#include "network/discovery/dns_message.h"
#include "network/discovery/mdns_services.h"
#include "network/discovery/multicast_socket.h"

namespace vantrel::network {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kMdnsGroup = "224.0.0.251";
constexpr unsigned short kMdnsPort = 5353;
constexpr std::size_t kMaxFollowUps = 2 * kMaxComputers;
constexpr std::chrono::seconds kRequeryInterval{1};

std::string lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

class MdnsQueryRun {
public:
    MdnsQueryRun(const std::vector<MulticastInterface>& interfaces, Clock::time_point deadline)
        : interfaces_(interfaces), deadline_(deadline), socket_(AF_INET) {}

    bool ask(const std::vector<DnsQuestion>& questions) {
        const std::string query = buildDnsQuery(questions);
        if (query.empty()) return false;
        bool any = false;
        for (const auto& interface : interfaces_) any |= socket_.sendToGroup(query, kMdnsGroup, kMdnsPort, interface);
        return any;
    }

    // Reads answers until `until` (at the latest the deadline), handing the
    // records of each to `onAnswer`.
    template <typename OnAnswer>
    void listen(OnAnswer onAnswer, const std::function<bool()>& done = [] { return false; },
                std::optional<Clock::time_point> until = std::nullopt) {
        const auto end = until ? std::min(*until, deadline_) : deadline_;
        std::vector<MulticastSocket*> sockets{&socket_};
        while (Clock::now() < end && !done()) {
            for (auto* s : waitReadable(sockets, end))
                while (auto datagram = s->receive(kMaxDnsMessage)) onAnswer(parseDnsResponse(datagram->bytes), *datagram);
        }
    }

private:
    const std::vector<MulticastInterface>& interfaces_;
    Clock::time_point deadline_;
    MulticastSocket socket_;
};

struct Instance {
    Clock::time_point firstSeen;
    std::string host;
    std::string source;  // the address the answer came from
    std::string type;    // the service type it was found through ("_ssh._tcp")
};

// "host._ssh._tcp.local" -> "_ssh._tcp"; empty for a type not browsed for.
std::string serviceTypeOf(const std::string& instance) {
    for (const char* type : kComputerServiceTypes) {
        const std::string suffix = "." + std::string(type) + ".local";
        if (instance.size() > suffix.size() && instance.compare(instance.size() - suffix.size(), std::string::npos, suffix) == 0)
            return type;
    }
    return {};
}

}  // namespace

TimedComputers queryMdnsComputers(const std::vector<MulticastInterface>& interfaces, Clock::time_point deadline) {
    MdnsQueryRun run(interfaces, deadline);
    std::set<std::string> browsed;
    std::vector<DnsQuestion> browse;
    for (const char* type : kComputerServiceTypes) {
        browse.push_back({std::string(type) + ".local", kDnsTypePtr});
        browsed.insert(browse.back().name);
    }
    if (!run.ask(browse)) throw DiscoveryError(kErrorNotAccessible, "no mDNS query could be sent on any interface");

    std::map<std::string, Instance> instances;
    std::vector<std::string> order;
    std::map<std::string, std::vector<std::string>> hostAddresses;
    std::set<std::string> asked;
    // What an answer leaves open (an instance without its host, a host
    // without its address) is asked for in one query after the answer.
    auto followUp = [&](const std::vector<DnsQuestion>& wanted) {
        std::vector<DnsQuestion> questions;
        for (const auto& q : wanted) {
            if (asked.size() >= kMaxFollowUps) break;
            if (asked.insert(std::to_string(q.type) + " " + q.name).second) questions.push_back(q);
            if (questions.size() == 16) {
                run.ask(questions);
                questions.clear();
            }
        }
        if (!questions.empty()) run.ask(questions);
    };
    auto addInstance = [&](const std::string& name, const Datagram& from) {
        if (instances.count(name) || instances.size() >= kMaxComputers) return;
        instances[name] = {Clock::now(), {}, from.sourceIpv4, serviceTypeOf(name)};
        order.push_back(name);
    };
    auto ofBrowsedType = [&](const std::string& instance) {
        return std::any_of(browsed.begin(), browsed.end(), [&](const std::string& type) {
            return instance.size() > type.size() + 1 &&
                   instance.compare(instance.size() - type.size() - 1, std::string::npos, "." + type) == 0;
        });
    };
    auto onAnswer = [&](const std::vector<DnsRecord>& records, const Datagram& from) {
        std::vector<std::string> touched;
        for (const auto& record : records) {
            if (record.type == kDnsTypePtr && browsed.count(record.name)) {
                addInstance(record.target, from);
                touched.push_back(record.target);
            } else if (record.type == kDnsTypeSrv && ofBrowsedType(record.name)) {
                // The SRV record may come before (or without) its PTR.
                addInstance(record.name, from);
                if (auto it = instances.find(record.name); it != instances.end()) it->second.host = record.target;
                touched.push_back(record.name);
            } else if (record.type == kDnsTypeA) {
                auto& addresses = hostAddresses[record.name];
                if (addresses.size() < 16 &&
                    std::find(addresses.begin(), addresses.end(), record.ipv4) == addresses.end())
                    addresses.push_back(record.ipv4);
            }
        }
        std::vector<DnsQuestion> wanted;
        for (const auto& name : touched) {
            auto it = instances.find(name);
            if (it == instances.end()) continue;
            if (it->second.host.empty()) wanted.push_back({name, kDnsTypeSrv});
            else if (!hostAddresses.count(it->second.host)) wanted.push_back({it->second.host, kDnsTypeA});
        }
        followUp(wanted);
    };
    // Asked again every second, as mDNS queriers do, so that a computer that
    // comes up (or whose answer was lost) during the window is heard too.
    for (auto round = Clock::now(); Clock::now() < deadline;) {
        round += kRequeryInterval;
        run.listen(onAnswer, [] { return false; }, round);
        if (Clock::now() < deadline) run.ask(browse);
    }

    TimedComputers out;
    for (const auto& key : order) {
        const Instance& instance = instances.at(key);
        if (instance.host.empty()) continue;
        DiscoveredComputer computer{firstLabel(instance.host), {}, DiscoverySource::Mdns, {}};
        if (!instance.type.empty()) computer.services.push_back(instance.type);
        if (auto it = hostAddresses.find(instance.host); it != hostAddresses.end()) computer.addresses = it->second;
        if (computer.addresses.empty() && !instance.source.empty()) computer.addresses.push_back(instance.source);
        if (isPlausibleComputerName(computer.name)) out.push_back({instance.firstSeen, std::move(computer)});
    }
    return out;
}

std::vector<std::string> queryMdnsAddresses(const std::string& host, std::chrono::milliseconds timeout) {
    std::vector<std::string> addresses;
    try {
        const auto interfaces = multicastInterfaces();
        MdnsQueryRun run(interfaces, Clock::now() + timeout);
        const std::string wanted = lowerCase(host);
        if (!run.ask({{wanted, kDnsTypeA}})) return addresses;
        run.listen(
            [&](const std::vector<DnsRecord>& records, const Datagram&) {
                for (const auto& record : records)
                    if (record.type == kDnsTypeA && record.name == wanted &&
                        std::find(addresses.begin(), addresses.end(), record.ipv4) == addresses.end())
                        addresses.push_back(record.ipv4);
            },
            [&] { return !addresses.empty(); });
    } catch (const DiscoveryError&) {
    }
    return addresses;
}

}  // namespace vantrel::network
