#pragma once
// The interfaces discovery sends on: up, not loopback, able to multicast.

#include <string>
#include <vector>

namespace vantrel::network {

struct MulticastInterface {
    std::string name;
    unsigned index = 0;
    std::vector<std::string> ipv4;  // dotted addresses of the interface
    bool hasIpv6 = false;
};

// Throws DiscoveryError (1722) when the interfaces cannot be listed.
std::vector<MulticastInterface> multicastInterfaces();

}  // namespace vantrel::network
