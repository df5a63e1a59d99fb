#include "text/xml_escape.h"

namespace vantrel::text {

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

}  // namespace vantrel::text
