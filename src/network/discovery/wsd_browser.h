#pragma once
// The WS-Discovery side of the network browser: probes for devices on every
// interface, keeps those that are computers, resolves the ones that did not
// say where to reach them and asks each for its name.

#include <chrono>
#include <vector>

#include "network/discovery/network_interfaces.h"
#include "network/discovery/timed_computer.h"

namespace vantrel::network {

// Listens until `deadline`. Throws DiscoveryError when no socket can be made
// or no probe leaves any interface.
TimedComputers browseWsd(const std::vector<MulticastInterface>& interfaces,
                         std::chrono::steady_clock::time_point deadline);

// The host of an http transport address ("http://HOST:PORT/path"), without
// IPv6 brackets; empty when it is not an http address.
std::string xaddrHost(const std::string& xaddr);

}  // namespace vantrel::network
