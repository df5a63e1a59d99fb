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

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

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

std::string base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kAlphabet[n & 63] : '=';
    }
    return out;
}

std::string base64Decode(std::string_view text) {
    std::string out;
    std::uint32_t n = 0;
    int bits = 0;
    std::size_t padding = 0;
    for (char c : text) {
        if (c == '=') {
            ++padding;
            continue;
        }
        const auto v = kAlphabet.find(c);
        if (v == std::string_view::npos || padding) return {};
        n = (n << 6) | static_cast<std::uint32_t>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((n >> bits) & 0xFF);
        }
    }
    if (padding > 2 || (text.size() % 4) != 0) return {};
    return out;
}

}  // namespace vantrel::wsman
