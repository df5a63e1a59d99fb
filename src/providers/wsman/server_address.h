#pragma once
// Where a node's management service listens: a name, an IPv4 address or an
// IPv6 address (in brackets when a port follows), and an optional ":port".
// The text comes from the node table, so anything else is refused rather
// than pasted into a URL.

#include <optional>
#include <string>
#include <string_view>

namespace vantrel::wsman {

struct ServerAddress {
    std::string host;  // IPv6 without brackets
    std::optional<unsigned> port;
    bool isIpv6 = false;
};

// Throws wbem::WbemError (ConnectionFailed) naming what is wrong.
ServerAddress parseServerAddress(std::string_view text);

// http(s)://host:port/wsman, the port defaulting to 5985 or 5986.
std::string endpointUrl(const ServerAddress& address, bool https);

}  // namespace vantrel::wsman
