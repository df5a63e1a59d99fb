// The text number fast path must give exactly what std::from_chars gives.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "engine3d/xfile/xfile_number.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

void expectSameAsFromChars(const std::string& s) {
    float ours = 12345.0f, theirs = 12345.0f;
    const auto a = parseXFloat(s.data(), s.data() + s.size(), ours);
    const auto b = std::from_chars(s.data(), s.data() + s.size(), theirs);
    ASSERT_EQ(a.ec, b.ec) << s;
    ASSERT_EQ(a.ptr, b.ptr) << s;
    if (a.ec == std::errc()) {
        std::uint32_t x, y;
        std::memcpy(&x, &ours, 4);
        std::memcpy(&y, &theirs, 4);
        ASSERT_EQ(x, y) << s << ": " << ours << " vs " << theirs;
    }
}

TEST(XFileNumber, FloatShapesSeenInFilesMatchFromChars) {
    const char* cases[] = {"0", "-0", "0.000000", "-0.000000", "1", "1.5", "-2.25", "5.", ".5", "-.5", "123456789",
                           "16777217", "0.1", "3.4028235e38", "1e-45", "1e39", "inf", "-nan", "nan", "", "-", ".",
                           "1.0.0", "12345678901234567890", "0.30000001192092896", "1.000000;", "7,8",
                           "340282356779733661637539395458142568448", "0.0000000000000000000001"};
    for (const char* c : cases) expectSameAsFromChars(c);
}

TEST(XFileNumber, RandomDecimalsMatchFromCharsBitForBit) {
    std::mt19937_64 rng(42);
    char buf[64];
    for (int i = 0; i < 300000; ++i) {
        const int intDigits = static_cast<int>(rng() % 8);
        const int fracDigits = static_cast<int>(rng() % 12);
        std::string s = (rng() & 1) ? "-" : "";
        for (int k = 0; k < intDigits; ++k) s += static_cast<char>('0' + rng() % 10);
        if (fracDigits > 0 || intDigits == 0) {
            s += '.';
            for (int k = 0; k < std::max(fracDigits, 1); ++k) s += static_cast<char>('0' + rng() % 10);
        }
        expectSameAsFromChars(s);
        // Values printed the way exporters print them.
        const double v = std::ldexp(static_cast<double>(rng() % 1000000), static_cast<int>(rng() % 40) - 20);
        std::snprintf(buf, sizeof buf, "%.6f", (rng() & 1) ? v : -v);
        expectSameAsFromChars(buf);
        if (HasFatalFailure()) return;
    }
}

TEST(XFileNumber, IntegersMatchFromChars) {
    const char* cases[] = {"0", "-1", "4294967295", "4294967296", "-2147483648", "123456789012345678",
                           "1234567890123456789", "99999999999999999999", "", "-", "12a", "007"};
    for (const char* c : cases) {
        std::int64_t ours = 7, theirs = 7;
        const std::string s = c;
        const auto a = parseXInteger(s.data(), s.data() + s.size(), ours);
        const auto b = std::from_chars(s.data(), s.data() + s.size(), theirs);
        EXPECT_EQ(a.ec, b.ec) << c;
        EXPECT_EQ(a.ptr, b.ptr) << c;
        if (a.ec == std::errc()) {
            EXPECT_EQ(ours, theirs) << c;
        }
    }
}

}  // namespace
}  // namespace vantrel::engine3d
