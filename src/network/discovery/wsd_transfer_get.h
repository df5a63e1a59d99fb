#pragma once
// WS-Transfer Get over HTTP: asks a WS-Discovery endpoint for its metadata,
// where a computer states its name.

#include <chrono>
#include <optional>
#include <string>

namespace vantrel::network {

// POSTs a Get for `endpoint` to the transport address `xaddr` (http only) and
// returns the computer name of the answer. Gives up after `timeout`, on an
// answer over kMaxWsdMetadata bytes, or on anything malformed.
std::optional<std::string> fetchComputerName(const std::string& xaddr, const std::string& endpoint,
                                             std::chrono::milliseconds timeout);

}  // namespace vantrel::network
