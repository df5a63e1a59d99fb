#pragma once
// Multicast DNS without a daemon: one-shot queries (RFC 6762 section 5.1)
// sent from an ephemeral port, whose answers come back to us directly.

#include <chrono>
#include <string>
#include <vector>

#include "network/discovery/network_interfaces.h"
#include "network/discovery/timed_computer.h"

namespace vantrel::network {

// Browses the computer service types until `deadline`, following each
// instance to its host and the host to its IPv4 addresses.
TimedComputers queryMdnsComputers(const std::vector<MulticastInterface>& interfaces,
                                  std::chrono::steady_clock::time_point deadline);

// The IPv4 addresses multicast DNS gives for `host` (a ".local" name) within
// `timeout`; empty when nobody answers.
std::vector<std::string> queryMdnsAddresses(const std::string& host, std::chrono::milliseconds timeout);

}  // namespace vantrel::network
