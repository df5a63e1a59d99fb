#pragma once
// The network browser: lists the computers of the local network. The real one
// listens for WS-Discovery and multicast DNS answers; tests script their own.

#include <chrono>
#include <cstddef>
#include <vector>

#include "network/discovery/discovered_computer.h"

namespace vantrel::network {

inline constexpr std::size_t kMaxComputers = 4096;
inline constexpr std::chrono::milliseconds kDefaultListeningWindow{3000};

struct DiscoveryOptions {
    std::chrono::milliseconds listeningWindow = kDefaultListeningWindow;
};

class Discoverer {
public:
    virtual ~Discoverer() = default;
    // Every computer found, each once, in the order first seen, at most
    // kMaxComputers. Throws DiscoveryError when the network cannot be asked.
    virtual std::vector<DiscoveredComputer> discover(const DiscoveryOptions& options) = 0;
};

}  // namespace vantrel::network
