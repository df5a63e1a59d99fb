#include "providers/linux/device_paths.h"

namespace vantrel::linuxhost {

namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

bool isPciFunctionName(std::string_view n) {
    if (n.size() != 12 || n[4] != ':' || n[7] != ':' || n[10] != '.') return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9, 11})
        if (!isHex(n[i])) return false;
    return true;
}

std::optional<std::string> pciFunctionOf(std::string_view path) {
    std::optional<std::string> found;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        if (isPciFunctionName(path.substr(start, end - start))) found = std::string(path.substr(0, end));
        start = end + 1;
    }
    return found;
}

std::string lastComponent(std::string_view path) {
    while (!path.empty() && path.back() == '/') path.remove_suffix(1);
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace vantrel::linuxhost
