#pragma once
// What the network commands ask of the network: the list of its computers,
// and their addresses. The desktop program plugs in discovery and the system
// resolver; tests script both.

#include <stdexcept>
#include <string>
#include <vector>

namespace vantrel {

struct BrowsedComputer {
    std::string name;
    std::vector<std::string> addresses;  // the addresses it was seen with
    bool offersSsh = false;  // a Linux computer without our agent that announced SSH
};

// The network could not be listed; `code` keys the text shown (5, 1326, 1722, other).
class NetworkListError : public std::runtime_error {
public:
    NetworkListError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

class NetworkBrowser {
public:
    virtual ~NetworkBrowser() = default;
    // The computers of the local network, each once, this computer among them,
    // in the order found. Throws NetworkListError.
    virtual std::vector<BrowsedComputer> listComputers() = 0;
    // The address of each computer (entry i for computers[i], empty when it
    // does not resolve). May run its lookups on other threads; called off the
    // window's thread.
    virtual std::vector<std::string> resolveAddresses(const std::vector<BrowsedComputer>& computers) = 0;
};

}  // namespace vantrel
