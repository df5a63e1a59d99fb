#pragma once
// Host name lookups through the system resolver (getaddrinfo).

#include <string>
#include <vector>

namespace vantrel::network {

// Every IPv4 address the resolver gives for `host`, dotted, in its order.
// Empty when the name does not resolve.
std::vector<std::string> ipv4Addresses(const std::string& host);

// This computer's address as other computers see it: the first address of
// its own host name that is not a loopback address; when the name gives only
// loopback addresses (a common /etc/hosts entry), the first IPv4 address of an
// interface that is up; otherwise the first address of the name, or an empty
// text.
std::string localIpv4Address();

// The name of this computer.
std::string localHostName();

}  // namespace vantrel::network
