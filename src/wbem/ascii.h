#pragma once
// Names of the management interface (classes, properties, namespaces)
// compare without regard to ASCII case; this is the one place that says how.

#include <string_view>

namespace vantrel::wbem {

constexpr char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// ASCII case-insensitive equality, as class and property names compare.
constexpr bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

}  // namespace vantrel::wbem
