#pragma once
// A computer together with the moment it was first heard of, so that the
// lists of several browsers can be merged in the order first seen.

#include <chrono>
#include <vector>

#include "network/discovery/discovered_computer.h"

namespace vantrel::network {

struct TimedComputer {
    std::chrono::steady_clock::time_point firstSeen;
    DiscoveredComputer computer;
};

using TimedComputers = std::vector<TimedComputer>;

}  // namespace vantrel::network
