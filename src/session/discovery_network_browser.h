#pragma once
// The network commands' view of the network in both programs:
// WS-Discovery and multicast DNS for the list, the system resolver (with the
// addresses discovery saw, and NAME.local) for the addresses.

#include "core/domain_state.h"
#include "core/network_browser.h"

namespace vantrel::session {

class DiscoveryNetworkBrowser : public NetworkBrowser {
public:
    explicit DiscoveryNetworkBrowser(const Settings& settings) : settings_(settings) {}
    std::vector<BrowsedComputer> listComputers() override;
    std::vector<std::string> resolveAddresses(const std::vector<BrowsedComputer>& computers) override;

private:
    const Settings& settings_;
};

}  // namespace vantrel::session
