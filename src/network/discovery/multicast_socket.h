#pragma once
// UDP sockets for multicast discovery: a socket bound to an ephemeral port
// (unicast answers to our queries come back to it) and sending to a group on
// one interface at a time. Link-local scope only: TTL and hop limit 1.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "network/discovery/network_interfaces.h"

namespace vantrel::network {

struct Datagram {
    std::string bytes;
    std::string sourceIpv4;  // dotted, empty for IPv6 senders
    std::string sourceText;  // the sender's address in its own family's text form
    unsigned sourceScope = 0;  // the receiving interface of an IPv6 link-local sender
};

class MulticastSocket {
public:
    // Throws DiscoveryError when the socket cannot be made. With `groupPort`
    // non-zero the socket binds that port and joins `group` on every
    // interface (used to hear announcements sent to the group).
    MulticastSocket(int family, unsigned short groupPort = 0, const std::string& group = {},
                    const std::vector<MulticastInterface>& joinOn = {});
    ~MulticastSocket();
    MulticastSocket(const MulticastSocket&) = delete;
    MulticastSocket& operator=(const MulticastSocket&) = delete;

    int family() const { return family_; }
    int fd() const { return fd_; }
    // Sends to group:port out of `interface`; false when the send failed.
    bool sendToGroup(const std::string& message, const std::string& group, unsigned short port,
                     const MulticastInterface& interface);
    // Next datagram, or nothing when none is waiting. Oversized datagrams
    // (over maxBytes) are read and dropped.
    std::optional<Datagram> receive(std::size_t maxBytes);

private:
    int family_;
    int fd_ = -1;
};

// Waits until one of the sockets is readable or the deadline passes; returns
// the readable ones.
std::vector<MulticastSocket*> waitReadable(const std::vector<MulticastSocket*>& sockets,
                                           std::chrono::steady_clock::time_point deadline);

}  // namespace vantrel::network
