#pragma once
// The DNS-SD service types that mark a computer: our agent's own, and the
// ones Linux, Apple and Samba hosts commonly announce.

#include <array>
#include <string>

namespace vantrel::network {

inline constexpr std::array<const char*, 5> kComputerServiceTypes = {
    "_vantrel._tcp", "_workstation._tcp", "_ssh._tcp", "_sftp-ssh._tcp", "_smb._tcp"};

// "host.local" (with or without the final dot) -> "host".
inline std::string firstLabel(const std::string& hostName) {
    return hostName.substr(0, hostName.find('.'));
}

}  // namespace vantrel::network
