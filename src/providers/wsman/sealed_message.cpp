#include "providers/wsman/sealed_message.h"

#include <charconv>

#include "wbem/wbem_error.h"

namespace vantrel::wsman {

namespace {

constexpr std::string_view kBoundary = "--Encrypted Boundary";
// Far above any mechanism's header (NTLM 16 bytes, Kerberos under 100).
constexpr std::uint32_t kMaxHeaderLength = 1024;

[[noreturn]] void malformed(const std::string& why) {
    throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "The server's sealed answer is malformed: " + why);
}

}  // namespace

std::string sealedBody(std::string_view header, std::string_view sealed, std::size_t plainLength) {
    std::string out;
    out.reserve(header.size() + sealed.size() + 256);
    out += kBoundary;
    out += "\r\n\tContent-Type: application/HTTP-SPNEGO-session-encrypted\r\n"
           "\tOriginalContent: type=application/soap+xml;charset=UTF-8;Length=";
    out += std::to_string(plainLength);
    out += "\r\n";
    out += kBoundary;
    out += "\r\n\tContent-Type: application/octet-stream\r\n";
    const auto length = static_cast<std::uint32_t>(header.size());
    for (int i = 0; i < 4; ++i) out += static_cast<char>((length >> (8 * i)) & 0xFF);
    out += header;
    out += sealed;
    out += kBoundary;
    out += "--\r\n";
    return out;
}

SealedParts parseSealedBody(std::string_view body) {
    SealedParts parts;
    const auto lengthAt = body.find("Length=");
    if (lengthAt == std::string_view::npos) malformed("no original length");
    const char* digits = body.data() + lengthAt + 7;
    const auto [end, error] = std::from_chars(digits, body.data() + body.size(), parts.plainLength);
    if (error != std::errc()) malformed("no original length");
    constexpr std::string_view kOctets = "Content-Type: application/octet-stream\r\n";
    const auto octets = body.find(kOctets, static_cast<std::size_t>(end - body.data()));
    if (octets == std::string_view::npos) malformed("no sealed part");
    std::size_t at = octets + kOctets.size();
    if (4 > body.size() - at) malformed("the sealed part is cut short");
    std::uint32_t headerLength = 0;
    for (int i = 0; i < 4; ++i)
        headerLength |= static_cast<std::uint32_t>(static_cast<unsigned char>(body[at + i])) << (8 * i);
    at += 4;
    if (headerLength == 0 || headerLength > kMaxHeaderLength) malformed("unexpected header length");
    const std::string closing = std::string(kBoundary) + "--";
    const auto close = body.rfind(closing);
    if (close == std::string_view::npos || close < at + headerLength) malformed("no closing boundary");
    parts.header = std::string(body.substr(at, headerLength));
    parts.sealed = std::string(body.substr(at + headerLength, close - at - headerLength));
    // A block cipher may pad the sealed bytes, never shorten them.
    if (parts.sealed.size() < parts.plainLength || parts.sealed.size() - parts.plainLength > 64)
        malformed("the lengths disagree");
    return parts;
}

}  // namespace vantrel::wsman
