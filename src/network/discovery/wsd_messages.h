#pragma once
// WS-Discovery and WS-Transfer messages: the ones we send, and the parsing of
// the ones we hear. Every parser takes untrusted bytes and gives up quietly
// on anything malformed or larger than its bound.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::network {

// Datagrams and HTTP bodies larger than these are not looked at.
inline constexpr std::size_t kMaxWsdDatagram = 32 * 1024;
inline constexpr std::size_t kMaxWsdMetadata = 256 * 1024;

std::string newMessageId();  // "urn:uuid:" and a random version 4 UUID

std::string wsdProbeMessage(const std::string& messageId);
std::string wsdResolveMessage(const std::string& messageId, const std::string& endpoint);
std::string transferGetMessage(const std::string& messageId, const std::string& endpoint);

struct WsdAnnouncement {
    enum class Kind { ProbeMatch, ResolveMatch, Hello, Bye };
    Kind kind = Kind::ProbeMatch;
    std::string endpoint;             // wsa:Address of the endpoint reference
    bool isComputer = false;          // its Types hold pub:Computer
    std::vector<std::string> xaddrs;  // transport addresses, as sent
};

// The matches, Hellos and Byes a datagram holds (several ProbeMatch elements
// may share one message). Nothing for anything else.
std::vector<WsdAnnouncement> parseWsdDatagram(std::string_view datagram);

// The computer name of a WS-Transfer Get response: the part of the
// pub:Computer text before "/" ("NAME/Workgroup:X", "NAME/Domain:X").
std::optional<std::string> parseComputerName(std::string_view metadata);

}  // namespace vantrel::network
