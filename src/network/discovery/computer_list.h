#pragma once
// The list a discovery run builds: each computer once, merged by name without
// regard to case and then by address, in the order first seen, capped at
// kMaxComputers. Safe to fill from several listener threads at once.

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "network/discovery/discoverer.h"

namespace vantrel::network {

class ComputerList {
public:
    // Adds a computer or merges it into the one already known; new addresses
    // are appended to the known ones. Empty names are ignored. Returns false
    // once the cap is reached and the computer is new.
    bool add(const DiscoveredComputer& computer);
    bool full() const;
    std::vector<DiscoveredComputer> computers() const;

private:
    void index(std::size_t at, const std::vector<std::string>& addresses);

    mutable std::mutex mutex_;
    std::vector<DiscoveredComputer> computers_;
    std::unordered_map<std::string, std::size_t> byLowerName_;
    std::unordered_map<std::string, std::size_t> byAddress_;
};

// True when `name` is usable as a computer name: 1 to 255 bytes with no
// control characters, no path separators and not "." or "..".
bool isPlausibleComputerName(const std::string& name);

}  // namespace vantrel::network
