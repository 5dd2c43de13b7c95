#pragma once

#include <cstdint>

namespace kaldora::billing {

inline constexpr int kSignificantDigits = 15;

// The smallest mantissa with 15 digits, 10^14.
inline constexpr std::uint64_t kFifteenDigitsLow = 100000000000000;

// A finite double as at most 15 significant decimal digits:
// value = (negative ? -1 : 1) x 0.d1d2...dn x 10^(exp10 + 1), i.e. the first
// digit has the place value 10^exp10. Zero has no digits.
struct Decimal {
    bool negative = false;
    int count = 0;
    int exp10 = 0;
    // The digits as one integer, d1d2...dn: what a reader of them needs.
    std::uint64_t mantissa = 0;
    char digits[kSignificantDigits + 2];
};

// The integer that digits d1..dn make.
std::uint64_t mantissaOf(const char* digits, int count);

// The double rounded to 15 significant digits, as printf's "%.15e" would
// write them, without trailing zeros.
Decimal toDecimal(double value);

} // namespace kaldora::billing
