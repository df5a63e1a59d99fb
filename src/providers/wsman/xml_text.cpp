#include "providers/wsman/xml_text.h"

#include <cstdio>
#include <random>

namespace vantrel::wsman {

std::string xmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case '\r': out += "&#13;"; break;
            case '\t': out += "&#9;"; break;
            default:
                // Control characters other than tab and line feed are not XML.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\n') out += '?';
                else out += c;
        }
    }
    return out;
}

std::string newUuid() {
    thread_local std::mt19937_64 random{std::random_device{}()};
    const std::uint64_t hi = random(), lo = random();
    char text[48];
    std::snprintf(text, sizeof text, "uuid:%08X-%04X-4%03X-%04X-%012llX", static_cast<unsigned>(hi >> 32),
                  static_cast<unsigned>((hi >> 16) & 0xFFFF), static_cast<unsigned>(hi & 0x0FFF),
                  static_cast<unsigned>(0x8000 | ((lo >> 48) & 0x3FFF)),
                  static_cast<unsigned long long>(lo & 0xFFFFFFFFFFFFull));
    return text;
}

}  // namespace vantrel::wsman
