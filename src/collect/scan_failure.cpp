#include "collect/scan_failure.h"

#include "text/utf8.h"

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
    return text::shortenUtf8(text, kMaxFailureText);
}

std::string noAddressText(const std::string& nodeName) {
    return "No address for " + nodeName + ": run Re-Scan or check the name";
}

}  // namespace vantrel
