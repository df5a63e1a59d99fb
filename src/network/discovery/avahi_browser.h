#pragma once
// Multicast DNS through the Avahi daemon, when one runs.

#include <chrono>
#include <optional>

#include "network/discovery/timed_computer.h"

namespace vantrel::network {

// Browses and resolves the computer service types until `deadline`. Nothing
// (not an empty list) when no Avahi daemon can be reached.
std::optional<TimedComputers> browseAvahi(std::chrono::steady_clock::time_point deadline);

}  // namespace vantrel::network
