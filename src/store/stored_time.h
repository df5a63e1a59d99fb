#pragma once
// Scan times as the stores keep them: milliseconds since the epoch.

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace vantrel {

inline std::int64_t toMilliseconds(std::chrono::system_clock::time_point time) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

inline std::chrono::system_clock::time_point fromMilliseconds(std::int64_t ms) {
    // A stored time beyond the clock's range is not ours; keep it inside.
    constexpr std::int64_t kLimit = 1'000'000'000'000'000;  // about 31,000 years
    ms = std::clamp(ms, -kLimit, kLimit);
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(std::chrono::milliseconds(ms)));
}

}  // namespace vantrel
