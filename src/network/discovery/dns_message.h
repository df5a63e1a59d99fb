#pragma once
// The few parts of DNS messages that a one-shot multicast DNS query needs:
// building questions and reading PTR, SRV and A records from answers. The
// reader takes untrusted bytes and stops at the first thing out of bounds.

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::network {

inline constexpr std::uint16_t kDnsTypeA = 1;
inline constexpr std::uint16_t kDnsTypePtr = 12;
inline constexpr std::uint16_t kDnsTypeSrv = 33;
inline constexpr std::size_t kMaxDnsMessage = 9000;

struct DnsQuestion {
    std::string name;  // dotted, without the final dot
    std::uint16_t type = kDnsTypePtr;
};

struct DnsRecord {
    std::string name;  // lower-cased, dotted, without the final dot
    std::uint16_t type = 0;
    std::string target;  // PTR: the instance; SRV: the host (lower-cased)
    std::uint16_t port = 0;  // SRV
    std::string ipv4;        // A, dotted
};

// A query message with id 0 asking all `questions`; empty when a name is not
// a valid DNS name (a label over 63 bytes, the name over 255).
std::string buildDnsQuery(const std::vector<DnsQuestion>& questions);

// The PTR, SRV and A records of every section of a response. Anything else,
// queries and malformed messages give nothing (or the records read before the
// fault).
std::vector<DnsRecord> parseDnsResponse(const std::string& message);

}  // namespace vantrel::network
