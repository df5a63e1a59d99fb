#pragma once
// Resolving node names to the IPv4 address other computers reach them at:
// the system resolver first, then the address discovery saw, then NAME.local
// through multicast DNS. Many names are resolved at once, each within a time
// limit, and the answers come back in the order of the names.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace vantrel::network {

// A lookup: every IPv4 address of a name, dotted, in the resolver's order.
using HostResolver = std::function<std::vector<std::string>(const std::string& name)>;

struct NameResolvers {
    HostResolver system;  // getaddrinfo
    HostResolver mdns;    // asked for "NAME.local"
};

// getaddrinfo, and one-shot multicast DNS queries.
NameResolvers systemResolvers();

struct NameToResolve {
    std::string name;
    std::vector<std::string> discoveredAddresses;  // what discovery saw with it
};

inline constexpr std::chrono::milliseconds kNameLookupLimit{2000};

// The address of a lookup's answer: the first one, except that loopback
// addresses (127.x, such as Debian's 127.0.1.1 host-name entry) give way
// to any other; empty for an empty answer.
std::string chooseAddress(const std::vector<std::string>& addresses);

// One name through the three sources in turn, taking the first address that
// is not loopback; a loopback address only when no source has another;
// empty when none answers.
std::string resolveName(const NameToResolve& name, const NameResolvers& resolvers);

// Every name, in parallel; entry i answers names[i], empty when the name did
// not resolve within `limit`. A lookup that overruns is abandoned, not
// waited for.
std::vector<std::string> resolveNames(const std::vector<NameToResolve>& names, const NameResolvers& resolvers,
                                      std::chrono::milliseconds limit = kNameLookupLimit);

}  // namespace vantrel::network
