#include "providers/wsman/fault_errors.h"

namespace vantrel::wsman {

namespace {

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

}  // namespace

wbem::WbemError faultError(const Fault& fault) {
    using wbem::ErrorCode;
    const std::string text = fault.text();
    const std::string& sub = fault.subcode;
    if (sub == "AccessDenied") return {ErrorCode::AccessDenied, text};
    if (sub == "CannotProcessFilter")
        return {mentions(text, "class") ? ErrorCode::InvalidClass : ErrorCode::InvalidQuery, text};
    if (sub == "DestinationUnreachable" || sub == "InvalidResourceURI") return {ErrorCode::InvalidNamespace, text};
    return {ErrorCode::ConnectionFailed, text};
}

}  // namespace vantrel::wsman
