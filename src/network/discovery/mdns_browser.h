#pragma once
// The multicast DNS side of the network browser: through the Avahi daemon
// when it runs (it has the cache and answers for this computer too), with
// our own one-shot queries when it does not.

#include <chrono>
#include <vector>

#include "network/discovery/network_interfaces.h"
#include "network/discovery/timed_computer.h"

namespace vantrel::network {

TimedComputers browseMdns(const std::vector<MulticastInterface>& interfaces,
                          std::chrono::steady_clock::time_point deadline);

}  // namespace vantrel::network
