#pragma once
// The real network browser: WS-Discovery and multicast DNS side by side for
// one listening window, merged, with this computer always in the list.

#include "network/discovery/discoverer.h"

namespace vantrel::network {

class NetworkDiscoverer : public Discoverer {
public:
    std::vector<DiscoveredComputer> discover(const DiscoveryOptions& options) override;
};

// This computer as the list shows it: its host name (without domain) and
// its address as other computers see it.
DiscoveredComputer thisComputer();

}  // namespace vantrel::network
