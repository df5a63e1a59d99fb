#include "network/discovery/avahi_browser.h"

#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-common/address.h>
#include <avahi-common/error.h>
#include <avahi-common/simple-watch.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "network/discovery/computer_list.h"
#include "network/discovery/discoverer.h"
#include "network/discovery/mdns_services.h"

namespace vantrel::network {

namespace {

using Clock = std::chrono::steady_clock;

struct Found {
    Clock::time_point firstSeen;
    std::string host;
    std::vector<std::string> addresses;
};

struct BrowseState {
    AvahiClient* client = nullptr;
    std::map<std::string, Found> instances;  // "type name" -> what was found
    std::vector<std::string> order;
};

std::string instanceKey(const char* type, const char* name) { return std::string(type) + " " + name; }

void onResolved(AvahiServiceResolver* resolver, AvahiIfIndex, AvahiProtocol, AvahiResolverEvent event,
                const char* name, const char* type, const char*, const char* hostName, const AvahiAddress* address,
                uint16_t, AvahiStringList*, AvahiLookupResultFlags, void* user) {
    auto* state = static_cast<BrowseState*>(user);
    if (event == AVAHI_RESOLVER_FOUND && name && type && hostName) {
        auto it = state->instances.find(instanceKey(type, name));
        if (it != state->instances.end()) {
            it->second.host = hostName;
            if (address && address->proto == AVAHI_PROTO_INET) {
                char text[AVAHI_ADDRESS_STR_MAX] = {};
                avahi_address_snprint(text, sizeof text, address);
                auto& list = it->second.addresses;
                if (std::find(list.begin(), list.end(), text) == list.end()) list.emplace_back(text);
            }
        }
    }
    avahi_service_resolver_free(resolver);
}

void onBrowsed(AvahiServiceBrowser*, AvahiIfIndex interface, AvahiProtocol protocol, AvahiBrowserEvent event,
               const char* name, const char* type, const char* domain, AvahiLookupResultFlags, void* user) {
    auto* state = static_cast<BrowseState*>(user);
    if (event != AVAHI_BROWSER_NEW || !name || !type) return;
    const std::string key = instanceKey(type, name);
    if (!state->instances.count(key)) {
        if (state->instances.size() >= kMaxComputers) return;
        state->instances[key] = {Clock::now(), {}, {}};
        state->order.push_back(key);
    }
    // One resolver per interface and protocol the instance shows up on; the
    // IPv4 address is what the node table needs.
    avahi_service_resolver_new(state->client, interface, protocol, name, type, domain, AVAHI_PROTO_INET,
                               static_cast<AvahiLookupFlags>(0), onResolved, state);
}

}  // namespace

std::optional<TimedComputers> browseAvahi(Clock::time_point deadline) {
    std::unique_ptr<AvahiSimplePoll, decltype(&avahi_simple_poll_free)> poll(avahi_simple_poll_new(),
                                                                            avahi_simple_poll_free);
    if (!poll) return std::nullopt;
    int error = 0;
    BrowseState state;
    std::unique_ptr<AvahiClient, decltype(&avahi_client_free)> client(
        avahi_client_new(avahi_simple_poll_get(poll.get()), static_cast<AvahiClientFlags>(0), nullptr, nullptr, &error),
        avahi_client_free);
    if (!client) return std::nullopt;
    state.client = client.get();
    for (const char* type : kComputerServiceTypes)
        avahi_service_browser_new(client.get(), AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, type, nullptr,
                                  static_cast<AvahiLookupFlags>(0), onBrowsed, &state);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        if (avahi_simple_poll_iterate(poll.get(), static_cast<int>(std::min<long long>(left, 200))) != 0) break;
    }
    TimedComputers out;
    for (const auto& key : state.order) {
        const Found& found = state.instances.at(key);
        if (found.host.empty()) continue;
        DiscoveredComputer computer{firstLabel(found.host), found.addresses, DiscoverySource::Mdns,
                                    {key.substr(0, key.find(' '))}};
        if (isPlausibleComputerName(computer.name)) out.push_back({found.firstSeen, std::move(computer)});
    }
    // Freeing the client frees its browsers and the resolvers still running.
    client.reset();
    return out;
}

}  // namespace vantrel::network
