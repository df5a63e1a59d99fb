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

// The address to ask for the name at, when `xaddr` points at the sender of
// the datagram that carried it (nothing else is followed); empty otherwise.
// A link-local IPv6 address is only reachable through the interface it was
// heard on, so it gets that interface (`scope`) as its zone.
std::string reachableXaddr(const std::string& xaddr, const std::string& sender, unsigned scope);

}  // namespace vantrel::network
