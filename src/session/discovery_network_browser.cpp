#include "session/discovery_network_browser.h"

#include <algorithm>

#include "network/discovery/discovery_error.h"
#include "network/discovery/network_discoverer.h"
#include "network/name_resolution.h"

namespace vantrel::session {

std::vector<BrowsedComputer> DiscoveryNetworkBrowser::listComputers() {
    network::DiscoveryOptions options;
    options.listeningWindow = std::chrono::milliseconds(std::clamp(settings_.discoveryWindowMs, 500, 60000));
    std::vector<BrowsedComputer> out;
    try {
        for (const auto& found : network::NetworkDiscoverer().discover(options))
            out.push_back({found.name, found.addresses, network::offersSsh(found)});
    } catch (const network::DiscoveryError& e) {
        throw NetworkListError(e.code(), e.what());
    }
    return out;
}

std::vector<std::string> DiscoveryNetworkBrowser::resolveAddresses(const std::vector<BrowsedComputer>& computers) {
    std::vector<network::NameToResolve> names;
    for (const auto& c : computers) names.push_back({c.name, c.addresses});
    return network::resolveNames(names, network::systemResolvers());
}

}  // namespace vantrel::session
