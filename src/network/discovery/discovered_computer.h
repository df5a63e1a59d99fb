#pragma once
// One computer found on the network, and how it was found.

#include <algorithm>
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
    // The DNS-SD service types it announced ("_ssh._tcp"), first heard first;
    // empty when only WS-Discovery or this computer's own name told of it.
    std::vector<std::string> services = {};
};

// Announced SSH (or SFTP over SSH) and not our agent: a Linux computer
// without the agent, reached best over SSH.
inline bool offersSsh(const DiscoveredComputer& computer) {
    auto announced = [&](const char* type) {
        return std::find(computer.services.begin(), computer.services.end(), type) != computer.services.end();
    };
    return (announced("_ssh._tcp") || announced("_sftp-ssh._tcp")) && !announced("_vantrel._tcp");
}

}  // namespace vantrel::network
