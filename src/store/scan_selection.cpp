#include "store/scan_selection.h"

#include <chrono>

namespace vantrel {

namespace {

bool allDigits(std::string_view s) {
    return !s.empty() && s.size() <= 9 && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM", "YYYY-MM-DDTHH:MM:SS".
std::optional<std::chrono::system_clock::time_point> parseTime(std::string_view text) {
    using namespace std::chrono;
    if (text.size() != 10 && text.size() != 16 && text.size() != 19) return std::nullopt;
    int y = 0, mo = 0, d = 0, h = 23, mi = 59, s = 59;
    auto number = [&](std::size_t at, std::size_t length, int& out) {
        const auto part = text.substr(at, length);
        if (!allDigits(part) || part.size() != length) return false;
        out = 0;
        for (char c : part) out = out * 10 + (c - '0');
        return true;
    };
    if (!number(0, 4, y) || text[4] != '-' || !number(5, 2, mo) || text[7] != '-' || !number(8, 2, d))
        return std::nullopt;
    if (text.size() >= 16) {
        if ((text[10] != ' ' && text[10] != 'T') || !number(11, 2, h) || text[13] != ':' || !number(14, 2, mi))
            return std::nullopt;
        s = text.size() == 19 ? 0 : 59;
        if (text.size() == 19 && (text[16] != ':' || !number(17, 2, s))) return std::nullopt;
    }
    const year_month_day date{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
    if (!date.ok() || h > 23 || mi > 59 || s > 59) return std::nullopt;
    // The whole of the day, minute or second named.
    return sys_days(date) + hours(h) + minutes(mi) + seconds(s) + milliseconds(999);
}

}  // namespace

std::optional<int> selectScan(const std::vector<ScanInfo>& scans, std::string_view text) {
    if (allDigits(text)) {
        int number = 0;
        for (char c : text) number = number * 10 + (c - '0');
        for (const auto& scan : scans)
            if (scan.number == number) return number;
        return std::nullopt;
    }
    const auto limit = parseTime(text);
    if (!limit) return std::nullopt;
    std::optional<int> found;
    for (const auto& scan : scans)
        if (scan.time <= *limit) found = scan.number;
    return found;
}

}  // namespace vantrel
