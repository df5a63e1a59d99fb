#include "network/discovery/computer_list.h"

#include <algorithm>
#include <optional>

namespace vantrel::network {

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

bool isPlausibleComputerName(const std::string& name) {
    if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F || c == '/' || c == '\\';
    });
}

bool ComputerList::add(const DiscoveredComputer& computer) {
    if (!isPlausibleComputerName(computer.name)) return true;
    std::lock_guard lock(mutex_);
    const std::string key = lowerCase(computer.name);
    std::optional<std::size_t> known;
    if (auto byName = byLowerName_.find(key); byName != byLowerName_.end()) known = byName->second;
    for (std::size_t i = 0; !known && i < computer.addresses.size(); ++i)
        if (auto byAddress = byAddress_.find(computer.addresses[i]); byAddress != byAddress_.end())
            known = byAddress->second;
    if (known) {
        const std::size_t at = *known;
        auto& addresses = computers_[at].addresses;
        for (const auto& address : computer.addresses)
            if (std::find(addresses.begin(), addresses.end(), address) == addresses.end()) addresses.push_back(address);
        index(at, computer.addresses);
        auto& services = computers_[at].services;
        for (const auto& service : computer.services)
            if (std::find(services.begin(), services.end(), service) == services.end()) services.push_back(service);
        return true;
    }
    if (computers_.size() >= kMaxComputers) return false;
    computers_.push_back(computer);
    byLowerName_.emplace(key, computers_.size() - 1);
    index(computers_.size() - 1, computer.addresses);
    return true;
}

void ComputerList::index(std::size_t at, const std::vector<std::string>& addresses) {
    for (const auto& address : addresses) byAddress_.emplace(address, at);
}

bool ComputerList::full() const {
    std::lock_guard lock(mutex_);
    return computers_.size() >= kMaxComputers;
}

std::vector<DiscoveredComputer> ComputerList::computers() const {
    std::lock_guard lock(mutex_);
    return computers_;
}

}  // namespace vantrel::network
