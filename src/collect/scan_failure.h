#pragma once
// Why a scan of a node ended without a report, in plain words: what the
// scan dialog, the node's last result and the command line show.

#include <string>

#include "wbem/wbem_error.h"

namespace vantrel {

inline constexpr const char* kScannedResult = "Scanned";
inline constexpr const char* kAccessDeniedResult = "Access denied";

// One line of at most a few hundred characters: the management layer's
// text for a failure ("No answer from https://10.0.0.5:5986/wsman in time",
// "The certificate of ... is not trusted ..."), or "Access denied" for a
// refused login, with the reason when the node gave one ("Access denied:
// the node does not accept Basic login (it offers Negotiate ...); ...").
std::string failureText(wbem::ErrorCode code, const std::string& what);

// The result of a node that cannot be contacted because no address is known.
std::string noAddressText(const std::string& nodeName);

}  // namespace vantrel
