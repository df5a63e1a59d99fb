#include "network/discovery/network_interfaces.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cerrno>

#include "network/discovery/discovery_error.h"

namespace vantrel::network {

std::vector<MulticastInterface> multicastInterfaces() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) throw DiscoveryError(errorCodeFromErrno(errno), "cannot list the network interfaces");
    std::vector<MulticastInterface> out;
    for (ifaddrs* ifa = list; ifa; ifa = ifa->ifa_next) {
        if (!ifa->ifa_addr || !ifa->ifa_name) continue;
        const unsigned flags = ifa->ifa_flags;
        if (!(flags & IFF_UP) || (flags & IFF_LOOPBACK) || !(flags & IFF_MULTICAST)) continue;
        const int family = ifa->ifa_addr->sa_family;
        if (family != AF_INET && family != AF_INET6) continue;
        auto it = std::find_if(out.begin(), out.end(), [&](const MulticastInterface& i) { return i.name == ifa->ifa_name; });
        if (it == out.end()) {
            MulticastInterface added;
            added.name = ifa->ifa_name;
            added.index = if_nametoindex(ifa->ifa_name);
            if (added.index == 0) continue;
            out.push_back(added);
            it = out.end() - 1;
        }
        if (family == AF_INET) {
            char text[INET_ADDRSTRLEN] = {};
            const auto* sin = reinterpret_cast<const sockaddr_in*>(ifa->ifa_addr);
            if (inet_ntop(AF_INET, &sin->sin_addr, text, sizeof text)) it->ipv4.emplace_back(text);
        } else {
            it->hasIpv6 = true;
        }
    }
    freeifaddrs(list);
    return out;
}

}  // namespace vantrel::network
