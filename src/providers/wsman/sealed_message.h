#pragma once
// The HTTP body of a message sealed with the session's Negotiate context
// (multipart/encrypted, application/HTTP-SPNEGO-session-encrypted): the
// original type and length, then a 4-byte length, the 16-byte signature and
// the sealed bytes. Plus the base64 of the Negotiate headers.

#include <string>
#include <string_view>

namespace vantrel::wsman {

inline constexpr const char* kSealedContentType =
    "multipart/encrypted;protocol=\"application/HTTP-SPNEGO-session-encrypted\";boundary=\"Encrypted Boundary\"";

// `wrapped` is the signature followed by the sealed message, as gss_wrap gives it.
std::string sealedBody(std::string_view wrapped, std::size_t plainLength);

struct SealedParts {
    std::string wrapped;  // signature followed by the sealed message
    std::size_t plainLength = 0;
};

// Throws WbemError (ConnectionFailed) for a body of any other shape.
SealedParts parseSealedBody(std::string_view body);

std::string base64Encode(std::string_view bytes);
// Empty when the text is not base64.
std::string base64Decode(std::string_view text);

}  // namespace vantrel::wsman
