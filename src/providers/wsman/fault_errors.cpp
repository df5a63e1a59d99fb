#include "providers/wsman/fault_errors.h"

#include "text/utf8.h"

namespace vantrel::wsman {

namespace {

constexpr std::size_t kMaxFaultText = 400;

bool mentions(const std::string& text, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        bool same = true;
        for (std::size_t k = 0; k < word.size() && same; ++k) {
            char c = text[i + k];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            same = c == word[k];
        }
        if (same) return true;
    }
    return false;
}

// A fault's text is the server's: one line of printable text, and not
// without end, before anyone prints it.
std::string printableText(const std::string& text) {
    std::string out = text::shortenUtf8(text, kMaxFaultText);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return out;
}

}  // namespace

wbem::WbemError faultError(const Fault& fault) {
    using wbem::ErrorCode;
    const std::string text = printableText(fault.text());
    const std::string& sub = fault.subcode;
    if (sub == "AccessDenied") return {ErrorCode::AccessDenied, text};
    if (sub == "CannotProcessFilter")
        return {mentions(fault.text(), "class") ? ErrorCode::InvalidClass : ErrorCode::InvalidQuery, text};
    if (sub == "DestinationUnreachable" || sub == "InvalidResourceURI") return {ErrorCode::InvalidNamespace, text};
    // A quota, an internal error, a class whose data the firmware lacks: the
    // node answered, and only this request failed.
    return {ErrorCode::Failed, text};
}

}  // namespace vantrel::wsman
