#include "export/html_text.h"

#include "text/utf8.h"

namespace vantrel {

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = text::utf8SequenceLength(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (length > 1) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        const char c = text[i++];
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default:
                if ((static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F) break;
                out += c;
        }
    }
    return out;
}

std::string pageName(std::string_view nodeName, std::set<std::string>& taken) {
    std::string stem;
    for (char c : nodeName) {
        if (stem.size() >= 48) break;
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        stem += ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9') || lower == '-') ? lower : '_';
    }
    if (stem.empty()) stem = "node";
    std::string name = stem;
    for (int n = 2; taken.count(name); ++n) name = stem + "-" + std::to_string(n);
    taken.insert(name);
    return name;
}

}  // namespace vantrel
