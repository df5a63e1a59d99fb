#include "providers/wsman/server_address.h"

#include <charconv>

#include "wbem/wbem_error.h"

namespace vantrel::wsman {

namespace {

[[noreturn]] void refuse(std::string_view text, const std::string& why) {
    throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed,
                          "The server address \"" + std::string(text.substr(0, 80)) + "\" " + why);
}

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

bool isIpv6Char(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' || c == '.';
}

unsigned parsePort(std::string_view whole, std::string_view digits) {
    unsigned port = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || port == 0 || port > 65535)
        refuse(whole, "has no valid port number");
    return port;
}

}  // namespace

ServerAddress parseServerAddress(std::string_view text) {
    if (text.empty()) refuse(text, "is empty");
    if (text.size() > 255) refuse(text, "is too long");
    ServerAddress out;
    if (text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string_view::npos) refuse(text, "has no closing bracket");
        out.host = std::string(text.substr(1, close - 1));
        out.isIpv6 = true;
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') refuse(text, "has text after the bracket");
            out.port = parsePort(text, rest.substr(1));
        }
    } else if (text.find(':') != text.rfind(':')) {
        out.host = std::string(text);  // a bare IPv6 address cannot carry a port
        out.isIpv6 = true;
    } else {
        const auto colon = text.find(':');
        out.host = std::string(text.substr(0, colon));
        if (colon != std::string_view::npos) out.port = parsePort(text, text.substr(colon + 1));
    }
    if (out.host.empty()) refuse(text, "names no host");
    for (char c : out.host)
        if (out.isIpv6 ? !isIpv6Char(c) : !isNameChar(c)) refuse(text, "holds a character a host name cannot have");
    if (out.isIpv6 && out.host.find(':') == std::string::npos) refuse(text, "is not an IPv6 address");
    return out;
}

std::string endpointUrl(const ServerAddress& address, bool https) {
    const unsigned port = address.port.value_or(https ? 5986u : 5985u);
    const std::string host = address.isIpv6 ? "[" + address.host + "]" : address.host;
    return std::string(https ? "https://" : "http://") + host + ":" + std::to_string(port) + "/wsman";
}

}  // namespace vantrel::wsman
