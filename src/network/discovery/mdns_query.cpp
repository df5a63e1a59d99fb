#include "network/discovery/mdns_query.h"

#include <sys/socket.h>

#include <algorithm>
#include <functional>
#include <map>
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

    // Reads answers until the deadline, handing each record to `onRecord`.
    template <typename OnRecord>
    void listen(OnRecord onRecord, const std::function<bool()>& done = [] { return false; }) {
        std::vector<MulticastSocket*> sockets{&socket_};
        while (Clock::now() < deadline_ && !done()) {
            for (auto* s : waitReadable(sockets, deadline_))
                while (auto datagram = s->receive(kMaxDnsMessage))
                    for (const auto& record : parseDnsResponse(datagram->bytes)) onRecord(record, *datagram);
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
};

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
    auto followUp = [&](const std::string& name, std::uint16_t type) {
        if (asked.size() >= kMaxFollowUps || !asked.insert(std::to_string(type) + " " + name).second) return;
        run.ask({{name, type}});
    };
    run.listen([&](const DnsRecord& record, const Datagram& from) {
        if (record.type == kDnsTypePtr && browsed.count(record.name)) {
            if (instances.count(record.target) || instances.size() >= kMaxComputers) return;
            instances[record.target] = {Clock::now(), {}, from.sourceIpv4};
            order.push_back(record.target);
            followUp(record.target, kDnsTypeSrv);
        } else if (record.type == kDnsTypeSrv) {
            auto it = instances.find(record.name);
            if (it == instances.end()) {
                // An SRV record given before (or without) its PTR, in the same answer.
                if (instances.size() >= kMaxComputers) return;
                const bool ofBrowsedType = std::any_of(browsed.begin(), browsed.end(), [&](const std::string& type) {
                    return record.name.size() > type.size() + 1 &&
                           record.name.compare(record.name.size() - type.size() - 1, std::string::npos, "." + type) == 0;
                });
                if (!ofBrowsedType) return;
                it = instances.emplace(record.name, Instance{Clock::now(), {}, from.sourceIpv4}).first;
                order.push_back(record.name);
            }
            it->second.host = record.target;
            if (!hostAddresses.count(record.target)) followUp(record.target, kDnsTypeA);
        } else if (record.type == kDnsTypeA) {
            auto& addresses = hostAddresses[record.name];
            if (addresses.size() < 16 && std::find(addresses.begin(), addresses.end(), record.ipv4) == addresses.end())
                addresses.push_back(record.ipv4);
        }
    });

    TimedComputers out;
    for (const auto& key : order) {
        const Instance& instance = instances.at(key);
        if (instance.host.empty()) continue;
        DiscoveredComputer computer{firstLabel(instance.host), {}, DiscoverySource::Mdns};
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
            [&](const DnsRecord& record, const Datagram&) {
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
