#include "collect/scan_failure.h"

namespace vantrel {

namespace {

constexpr std::size_t kMaxFailureText = 400;

}  // namespace

std::string failureText(wbem::ErrorCode code, const std::string& what) {
    // A refused login says no more than that, unless the node told us why.
    if (code == wbem::ErrorCode::AccessDenied && what.rfind("Access denied: ", 0) != 0) return kAccessDeniedResult;
    std::string text = what.empty() ? std::string("The node's management service failed") : what;
    // The text may come from the node: one line, and not without end.
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    if (text.size() > kMaxFailureText) {
        std::size_t end = kMaxFailureText;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;  // whole characters only
        text = text.substr(0, end) + "...";
    }
    return text;
}

std::string noAddressText(const std::string& nodeName) {
    return "No address for " + nodeName + ": run Re-Scan or check the name";
}

}  // namespace vantrel
