#pragma once
// Base64 (RFC 4648, with padding), for login tokens and binary files sent as text.

#include <string>
#include <string_view>

namespace vantrel::text {

std::string base64Encode(std::string_view bytes);
// Empty when the text is not base64.
std::string base64Decode(std::string_view text);

}  // namespace vantrel::text
