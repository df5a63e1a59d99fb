#include "core/local_node.h"

#include <unistd.h>

#include <climits>

#include "core/program_folder.h"

namespace vantrel {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string_view firstLabel(std::string_view name) { return name.substr(0, name.find('.')); }

// A loopback address with a port is an agent's listener on this computer,
// reached like any other node.
bool isLoopbackAddress(std::string_view address) {
    return (address.rfind("127.", 0) == 0 && address.find(':') == std::string_view::npos) || address == "::1";
}

}  // namespace

std::string localHostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return "localhost";
    std::string text(name);
    return isSafePathComponent(text) ? text : "localhost";
}

bool isLocalNode(const NodeRecord& node, std::string_view localAddress) {
    if (!node.address.empty() && (node.address == localAddress || isLoopbackAddress(node.address))) return true;
    if (node.name.empty()) return false;
    return sameLetters(firstLabel(node.name), firstLabel(localHostName())) || sameLetters(node.name, "localhost");
}

}  // namespace vantrel
