// Naming a scan by number or by time.

#include <gtest/gtest.h>

#include "store/scan_selection.h"

using namespace vantrel;

TEST(SelectScan, ByNumberOrByTheLastScanAtOrBeforeATime) {
    using namespace std::chrono;
    auto at = [](int y, unsigned m, unsigned d, int h, int mi, int s) {
        return system_clock::time_point(sys_days(year{y} / m / d) + hours(h) + minutes(mi) + seconds(s));
    };
    const std::vector<ScanInfo> scans{{1, at(2026, 3, 1, 8, 0, 0), "", ""},
                                      {2, at(2026, 3, 1, 17, 30, 15), "", ""},
                                      {4, at(2026, 3, 9, 9, 0, 0), "", ""}};
    const struct {
        const char* text;
        std::optional<int> scan;
    } cases[] = {
        {"1", 1},   {"4", 4},  {"3", std::nullopt},  {"0", std::nullopt},  {"-1", std::nullopt},
        {"2026-03-01", 2},                 // a day: its last scan
        {"2026-03-05", 2},                 // between scans: the one before
        {"2026-02-28", std::nullopt},      // before the first
        {"2026-03-01 17:30", 2},           // a minute: up to its last second
        {"2026-03-01 17:29", 1},
        {"2026-03-01T17:30:15", 2},        // the second itself
        {"2026-03-09 09:00:00", 4},
        {"2026-02-30", std::nullopt},      // no such day
        {"2026-3-1", std::nullopt},  {"yesterday", std::nullopt}, {"", std::nullopt},
        {"99999999999999", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(selectScan(scans, c.text), c.scan) << c.text;
}
