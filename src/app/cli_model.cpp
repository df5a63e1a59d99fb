#include "app/cli_model.h"

#include <charconv>
#include <cmath>

namespace vantrel::cli {

std::optional<std::pair<double, double>> numberPair(const std::string& text, char separator) {
    const auto cut = text.find(separator);
    if (cut == std::string::npos) return std::nullopt;
    double a = 0, b = 0;
    const char* end = text.data() + text.size();
    const auto ra = std::from_chars(text.data(), text.data() + cut, a);
    const auto rb = std::from_chars(text.data() + cut + 1, end, b);
    if (ra.ec != std::errc() || ra.ptr != text.data() + cut || rb.ec != std::errc() || rb.ptr != end) return std::nullopt;
    if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;  // from_chars takes "nan" and "inf"
    return std::make_pair(a, b);
}

}  // namespace vantrel::cli
