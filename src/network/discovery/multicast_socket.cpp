#include "network/discovery/multicast_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "network/discovery/discovery_error.h"

namespace vantrel::network {

namespace {

[[noreturn]] void fail(const char* what) {
    const int err = errno;
    throw DiscoveryError(errorCodeFromErrno(err), std::string(what) + ": " + std::strerror(err));
}

void joinGroup(int fd, int family, const std::string& group, const MulticastInterface& interface) {
    if (family == AF_INET) {
        ip_mreqn request{};
        if (inet_pton(AF_INET, group.c_str(), &request.imr_multiaddr) != 1) return;
        request.imr_ifindex = static_cast<int>(interface.index);
        setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request);
    } else if (interface.hasIpv6) {
        ipv6_mreq request{};
        if (inet_pton(AF_INET6, group.c_str(), &request.ipv6mr_multiaddr) != 1) return;
        request.ipv6mr_interface = interface.index;
        setsockopt(fd, IPPROTO_IPV6, IPV6_JOIN_GROUP, &request, sizeof request);
    }
}

}  // namespace

MulticastSocket::MulticastSocket(int family, unsigned short groupPort, const std::string& group,
                                 const std::vector<MulticastInterface>& joinOn)
    : family_(family) {
    fd_ = socket(family, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_UDP);
    if (fd_ < 0) fail("socket");
    const int on = 1;
    const int one = 1;
    if (family == AF_INET) {
        setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_TTL, &one, sizeof one);
        setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_LOOP, &on, sizeof on);
    } else {
        setsockopt(fd_, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
        setsockopt(fd_, IPPROTO_IPV6, IPV6_MULTICAST_HOPS, &one, sizeof one);
        setsockopt(fd_, IPPROTO_IPV6, IPV6_MULTICAST_LOOP, &on, sizeof on);
    }
    if (groupPort != 0) setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    // Room for a burst of answers: a busy network answers all at once.
    const int receiveBuffer = 4 << 20;
    if (setsockopt(fd_, SOL_SOCKET, SO_RCVBUFFORCE, &receiveBuffer, sizeof receiveBuffer) != 0)
        setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_storage local{};
    socklen_t length = 0;
    if (family == AF_INET) {
        auto* sin = reinterpret_cast<sockaddr_in*>(&local);
        sin->sin_family = AF_INET;
        sin->sin_port = htons(groupPort);
        length = sizeof *sin;
    } else {
        auto* sin6 = reinterpret_cast<sockaddr_in6*>(&local);
        sin6->sin6_family = AF_INET6;
        sin6->sin6_port = htons(groupPort);
        length = sizeof *sin6;
    }
    if (bind(fd_, reinterpret_cast<sockaddr*>(&local), length) != 0) {
        const int err = errno;
        close(fd_);
        errno = err;
        fail("bind");
    }
    for (const auto& interface : joinOn) joinGroup(fd_, family, group, interface);
}

MulticastSocket::~MulticastSocket() {
    if (fd_ >= 0) close(fd_);
}

bool MulticastSocket::sendToGroup(const std::string& message, const std::string& group, unsigned short port,
                                  const MulticastInterface& interface) {
    if (family_ == AF_INET) {
        if (interface.ipv4.empty()) return false;
        ip_mreqn via{};
        via.imr_ifindex = static_cast<int>(interface.index);
        if (setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_IF, &via, sizeof via) != 0) return false;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        if (inet_pton(AF_INET, group.c_str(), &to.sin_addr) != 1) return false;
        return sendto(fd_, message.data(), message.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
               static_cast<ssize_t>(message.size());
    }
    if (!interface.hasIpv6) return false;
    const unsigned index = interface.index;
    if (setsockopt(fd_, IPPROTO_IPV6, IPV6_MULTICAST_IF, &index, sizeof index) != 0) return false;
    sockaddr_in6 to{};
    to.sin6_family = AF_INET6;
    to.sin6_port = htons(port);
    to.sin6_scope_id = index;
    if (inet_pton(AF_INET6, group.c_str(), &to.sin6_addr) != 1) return false;
    return sendto(fd_, message.data(), message.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
           static_cast<ssize_t>(message.size());
}

std::optional<Datagram> MulticastSocket::receive(std::size_t maxBytes) {
    std::string buffer(maxBytes + 1, '\0');
    sockaddr_storage from{};
    socklen_t fromLength = sizeof from;
    const ssize_t n = recvfrom(fd_, buffer.data(), buffer.size(), MSG_TRUNC, reinterpret_cast<sockaddr*>(&from),
                               &fromLength);
    if (n < 0) return std::nullopt;
    Datagram datagram;
    if (static_cast<std::size_t>(n) <= maxBytes) {
        buffer.resize(static_cast<std::size_t>(n));
        datagram.bytes = std::move(buffer);
    }
    char text[INET6_ADDRSTRLEN] = {};
    if (from.ss_family == AF_INET) {
        const auto* sin = reinterpret_cast<const sockaddr_in*>(&from);
        if (inet_ntop(AF_INET, &sin->sin_addr, text, sizeof text)) datagram.sourceIpv4 = text;
        datagram.sourceText = datagram.sourceIpv4;
    } else if (from.ss_family == AF_INET6) {
        const auto* sin6 = reinterpret_cast<const sockaddr_in6*>(&from);
        if (inet_ntop(AF_INET6, &sin6->sin6_addr, text, sizeof text)) datagram.sourceText = text;
        datagram.sourceScope = sin6->sin6_scope_id;
    }
    return datagram;
}

std::vector<MulticastSocket*> waitReadable(const std::vector<MulticastSocket*>& sockets,
                                           std::chrono::steady_clock::time_point deadline) {
    std::vector<pollfd> fds;
    for (auto* s : sockets) fds.push_back({s->fd(), POLLIN, 0});
    const auto now = std::chrono::steady_clock::now();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
    std::vector<MulticastSocket*> ready;
    if (left <= 0 || fds.empty()) return ready;
    if (poll(fds.data(), fds.size(), static_cast<int>(std::min<long long>(left, 1000))) <= 0) return ready;
    for (std::size_t i = 0; i < fds.size(); ++i)
        if (fds[i].revents & POLLIN) ready.push_back(sockets[i]);
    return ready;
}

}  // namespace vantrel::network
