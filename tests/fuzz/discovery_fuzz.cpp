// libFuzzer target: any bytes heard from the network, read as a WS-Discovery
// datagram, as WS-Transfer metadata and as a DNS answer, must give a result
// or nothing. A crash or a sanitizer report is a finding.

#include <cstdint>
#include <string>

#include "network/discovery/dns_message.h"
#include "network/discovery/wsd_messages.h"

using namespace vantrel::network;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& heard : parseWsdDatagram(bytes)) {
        if (heard.endpoint.empty()) __builtin_trap();
    }
    parseComputerName(bytes);
    for (const auto& record : parseDnsResponse(bytes)) {
        if (record.name.size() > 255 || record.target.size() > 255) __builtin_trap();
    }
    return 0;
}
