#pragma once
// The texts the network commands show when the network cannot be listed,
// keyed on the error code of the listing.

#include <string>

namespace vantrel {

inline constexpr const char* kNetworkErrorTitle = "Network error";

// 5: access denied; 1326: logon failure; 1722: node not accessible;
// anything else: the general text.
std::string networkErrorText(int code);

}  // namespace vantrel
