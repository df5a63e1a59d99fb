#include "network/host_lookup.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

namespace vantrel::network {

namespace {

std::string dotted(const in_addr& addr) {
    char buf[INET_ADDRSTRLEN] = {};
    if (!inet_ntop(AF_INET, &addr, buf, sizeof buf)) return {};
    return buf;
}

bool isLoopback(const std::string& address) { return address.rfind("127.", 0) == 0; }

std::string firstInterfaceAddress() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return {};
    std::string found;
    for (ifaddrs* ifa = list; ifa && found.empty(); ifa = ifa->ifa_next) {
        if (!ifa->ifa_addr || ifa->ifa_addr->sa_family != AF_INET) continue;
        if (!(ifa->ifa_flags & IFF_UP) || (ifa->ifa_flags & IFF_LOOPBACK)) continue;
        found = dotted(reinterpret_cast<const sockaddr_in*>(ifa->ifa_addr)->sin_addr);
    }
    freeifaddrs(list);
    return found;
}

}  // namespace

std::vector<std::string> ipv4Addresses(const std::string& host) {
    std::vector<std::string> out;
    if (host.empty()) return out;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &result) != 0) return out;
    for (addrinfo* ai = result; ai; ai = ai->ai_next) {
        const std::string a = dotted(reinterpret_cast<const sockaddr_in*>(ai->ai_addr)->sin_addr);
        if (!a.empty() && std::find(out.begin(), out.end(), a) == out.end()) out.push_back(a);
    }
    freeaddrinfo(result);
    return out;
}

std::string localHostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string localIpv4Address() {
    const auto addresses = ipv4Addresses(localHostName());
    for (const auto& a : addresses)
        if (!isLoopback(a)) return a;
    if (auto a = firstInterfaceAddress(); !a.empty()) return a;
    return addresses.empty() ? std::string() : addresses.front();
}

}  // namespace vantrel::network
