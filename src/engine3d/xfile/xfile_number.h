#pragma once
// Number parsing for the text encoding. The common shapes of .x files ("-12.5",
// "0.000000", "3") take a fast path that gives exactly what std::from_chars
// gives; anything else (exponents, long mantissas, inf, nan) goes to
// std::from_chars itself.

#include <charconv>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace vantrel::engine3d {

// Parses a decimal float at [first, last); same contract as std::from_chars.
inline std::from_chars_result parseXFloat(const char* first, const char* last, float& out) {
    const char* p = first;
    bool negative = false;
    if (p < last && *p == '-') {
        negative = true;
        ++p;
    }
    std::uint64_t mantissa = 0;
    int digits = 0, fraction = 0;
    const char* digitsStart = p;
    while (p < last && static_cast<unsigned>(*p - '0') < 10) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        ++digits;
        ++p;
    }
    const char* intEnd = p;
    if (p < last && *p == '.') {
        ++p;
        while (p < last && static_cast<unsigned>(*p - '0') < 10) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            ++digits;
            ++fraction;
            ++p;
        }
    }
    const bool exponent = p < last && (*p == 'e' || *p == 'E');
    if (digits == 0 || digits > 18 || exponent || (intEnd == digitsStart && fraction == 0))
        return std::from_chars(first, last, out);
    // Trailing zeros of the fraction add nothing, but only matter when the
    // mantissa is too long for the exact float path below.
    while (mantissa > (1u << 24) && fraction > 0 && mantissa % 10 == 0) {
        mantissa /= 10;
        --fraction;
    }
    // Exact float arithmetic: both operands are representable and one division
    // rounds once, so the result is the correctly rounded value.
    static constexpr float kPow10[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    if (mantissa <= (1u << 24) && fraction <= 10) {
        const float v = static_cast<float>(mantissa) / kPow10[fraction];
        out = negative ? -v : v;
        return {p, std::errc()};
    }
    // Longer mantissas: the exact double quotient, rounded to float. Rounding
    // twice can only go wrong when the double lies within one unit of a point
    // halfway between two floats; those rare cases go to std::from_chars.
    static constexpr double kPow10d[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (mantissa >= (std::uint64_t{1} << 53) || fraction > 22) return std::from_chars(first, last, out);
    const double d = static_cast<double>(mantissa) / kPow10d[fraction];
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    const std::uint64_t below = bits & ((std::uint64_t{1} << 29) - 1);
    const std::uint64_t half = std::uint64_t{1} << 28;
    if (below + 1 >= half && below <= half + 1) return std::from_chars(first, last, out);
    const float v = static_cast<float>(d);
    out = negative ? -v : v;
    return {p, std::errc()};
}

// Parses a decimal integer at [first, last) into 64 bits.
inline std::from_chars_result parseXInteger(const char* first, const char* last, std::int64_t& out) {
    const char* p = first;
    const bool negative = p < last && *p == '-';
    if (negative) ++p;
    const char* start = p;
    std::uint64_t v = 0;
    while (p < last && static_cast<unsigned>(*p - '0') < 10 && p - start < 18) {
        v = v * 10 + static_cast<unsigned>(*p - '0');
        ++p;
    }
    if (p == start || (p < last && static_cast<unsigned>(*p - '0') < 10)) return std::from_chars(first, last, out);
    out = negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
    return {p, std::errc()};
}

inline std::from_chars_result parseXNumber(const char* first, const char* last, float& out) {
    return parseXFloat(first, last, out);
}
inline std::from_chars_result parseXNumber(const char* first, const char* last, double& out) {
    return std::from_chars(first, last, out);
}
inline std::from_chars_result parseXNumber(const char* first, const char* last, std::int64_t& out) {
    return parseXInteger(first, last, out);
}

}  // namespace vantrel::engine3d
