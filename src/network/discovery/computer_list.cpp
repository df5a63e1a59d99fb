#include "network/discovery/computer_list.h"

#include <algorithm>

namespace vantrel::network {

namespace {

bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool sharesAddress(const DiscoveredComputer& a, const DiscoveredComputer& b) {
    for (const auto& address : b.addresses)
        if (std::find(a.addresses.begin(), a.addresses.end(), address) != a.addresses.end()) return true;
    return false;
}

void appendAddresses(DiscoveredComputer& into, const std::vector<std::string>& addresses) {
    for (const auto& address : addresses)
        if (std::find(into.addresses.begin(), into.addresses.end(), address) == into.addresses.end())
            into.addresses.push_back(address);
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
    auto known = std::find_if(computers_.begin(), computers_.end(), [&](const DiscoveredComputer& c) {
        return sameNameIgnoringCase(c.name, computer.name);
    });
    if (known == computers_.end())
        known = std::find_if(computers_.begin(), computers_.end(),
                             [&](const DiscoveredComputer& c) { return sharesAddress(c, computer); });
    if (known != computers_.end()) {
        appendAddresses(*known, computer.addresses);
        return true;
    }
    if (computers_.size() >= kMaxComputers) return false;
    computers_.push_back(computer);
    return true;
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
