#pragma once
// The HTTP body of a message sealed with the session's Negotiate context
// (multipart/encrypted, application/HTTP-SPNEGO-session-encrypted): the
// original type and length, then the 4-byte length of the mechanism's
// header, that header and the sealed bytes. Plus the base64 of the Negotiate headers.

#include <string>
#include <string_view>

#include "text/base64.h"

namespace vantrel::wsman {

inline constexpr const char* kSealedContentType =
    "multipart/encrypted;protocol=\"application/HTTP-SPNEGO-session-encrypted\";boundary=\"Encrypted Boundary\"";

// `header` is the mechanism's part before the sealed bytes: NTLM's 16-byte
// signature, or Kerberos' token header (its length varies with the cipher).
std::string sealedBody(std::string_view header, std::string_view sealed, std::size_t plainLength);

struct SealedParts {
    std::string header;
    std::string sealed;
    std::size_t plainLength = 0;
};

// Throws WbemError (ConnectionFailed) for a body of any other shape.
SealedParts parseSealedBody(std::string_view body);

using text::base64Decode;
using text::base64Encode;

}  // namespace vantrel::wsman
