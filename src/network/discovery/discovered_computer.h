#pragma once
// One computer found on the network, and how it was found.

#include <string>
#include <vector>

namespace vantrel::network {

enum class DiscoverySource { Self, Wsd, Mdns };

// "self", "wsd" or "mdns": the words `vantrel-cli discover` prints.
inline const char* sourceText(DiscoverySource source) {
    switch (source) {
        case DiscoverySource::Self: return "self";
        case DiscoverySource::Wsd: return "wsd";
        case DiscoverySource::Mdns: return "mdns";
    }
    return "";
}

struct DiscoveredComputer {
    std::string name;                    // network name without domain suffix
    std::vector<std::string> addresses;  // dotted IPv4 addresses seen with it, first seen first
    DiscoverySource source = DiscoverySource::Wsd;
};

}  // namespace vantrel::network
