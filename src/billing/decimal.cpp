#include "billing/decimal.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace kaldora::billing {

namespace {

// Reads "d[.ddd]e[+-]xx" as std::to_chars writes it in scientific form.
void readScientific(const char* first, const char* last, Decimal& out)
{
    const char* p = first;
    out.negative = *p == '-';
    if (out.negative) {
        ++p;
    }
    out.count = 0;
    for (; p != last && *p != 'e'; ++p) {
        if (*p != '.') {
            out.digits[out.count++] = *p;
        }
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), last, exponent);
    out.exp10 = exponent;
    while (out.count > 0 && out.digits[out.count - 1] == '0') {
        --out.count;
    }
    out.mantissa = mantissaOf(out.digits, out.count);
}

// M x 10^19 needs 117 bits. GCC and Clang, which build this program for
// Linux and Windows alike, have a 128-bit integer; __extension__ says that
// its use is deliberate.
__extension__ typedef unsigned __int128 Uint128;

// 10^0 to 10^19, every power of ten that fits in 64 bits.
constexpr auto kPowersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i) {
        powers[i] = powers[i - 1] * 10;
    }
    return powers;
}();
constexpr int kLargestPowerOfTen = 19;
static_assert(kFifteenDigitsLow == kPowersOfTen[kSignificantDigits - 1]);
constexpr std::uint64_t kFifteenDigitsHigh = kPowersOfTen[kSignificantDigits];

constexpr int kFractionBits = 52;
constexpr int kExponentBias = 1023;
constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << kFractionBits) - 1;
constexpr int kLog10Of2Times4096 = 1233;
constexpr int kLog10Of2Times4096Shift = 12;
constexpr int kLog10Of2Scaled = 78913;
constexpr int kLog10Of2Shift = 18;

// "00" to "99": two digits at a time, the way a number is written fast.
constexpr auto kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Sets out to the digits of q x 10^-decimals, q having 15 or 16 digits.
// Most numbers on a bill have only a few of them, so the trailing zeros go
// first, in halving steps, and only the rest is written out, two digits at
// a time from the last. Every number the calculation writes passes here.
void fromScaledInteger(std::uint64_t q, int decimals, Decimal& out)
{
    int zeros = 0;
    const auto dropZeros = [&q, &zeros](int step) {
        if (q % kPowersOfTen[static_cast<std::size_t>(step)] == 0) {
            q /= kPowersOfTen[static_cast<std::size_t>(step)];
            zeros += step;
        }
    };
    dropZeros(8);
    dropZeros(4);
    dropZeros(2);
    dropZeros(1);
    out.mantissa = q;
    // The number of digits, from the number of bits: 1233 / 4096 is just
    // above log10(2), so this is the count or one more.
    const int estimate = (std::bit_width(q) * kLog10Of2Times4096) >> kLog10Of2Times4096Shift;
    const int count = estimate + (q >= kPowersOfTen[static_cast<std::size_t>(estimate)] ? 1 : 0);
    char* p = out.digits + count;
    while (q >= 100) {
        const std::size_t pair = 2 * static_cast<std::size_t>(q % 100);
        q /= 100;
        *--p = kDigitPairs[pair + 1];
        *--p = kDigitPairs[pair];
    }
    if (q >= 10) {
        *--p = kDigitPairs[2 * q + 1];
        *--p = kDigitPairs[2 * q];
    } else {
        *--p = static_cast<char>('0' + q);
    }
    out.count = count;
    out.exp10 = count + zeros - 1 - decimals;
}

// The 15 significant digits of a positive double without formatting it.
// The double is M x 2^E with a 53-bit M; shifting the decimal point p places
// gives M x 10^p / 2^-E, exact in 128 bits, and the bits shifted out round
// the last digit to nearest, a tie to the even digit, as to_chars rounds.
// Covers the numbers of a bill, from 1E-5 up to 1E15 (p from 0 to 19);
// returns false for the rest.
bool exactDigits(double magnitude, Decimal& out)
{
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = static_cast<int>(bits >> kFractionBits);
    const int binaryExponent = biased - kExponentBias - kFractionBits;
    if (biased == 0 || binaryExponent >= 0) {
        return false;
    }
    const std::uint64_t mantissa = (bits & kFractionMask) | (kFractionMask + 1);
    const int shift = -binaryExponent;
    // The decimal exponent of the first digit is this estimate or one more:
    // floor(e x log10(2)), as 78913 / 2^18 gives it for any exponent of a
    // double, in integers.
    int exponent = ((binaryExponent + kFractionBits) * kLog10Of2Scaled) >> kLog10Of2Shift;
    for (int attempt = 0; attempt < 2; ++attempt, ++exponent) {
        const int p = kSignificantDigits - 1 - exponent;
        if (p < 0 || p > kLargestPowerOfTen) {
            return false;
        }
        const Uint128 scaled = static_cast<Uint128>(mantissa) * kPowersOfTen[p];
        const Uint128 whole = scaled >> shift;
        if (whole < kFifteenDigitsLow) {
            return false;
        }
        if (whole >= kFifteenDigitsHigh) {
            continue;
        }
        auto q = static_cast<std::uint64_t>(whole);
        const Uint128 half = static_cast<Uint128>(1) << (shift - 1);
        const Uint128 rest = scaled & ((half << 1) - 1);
        if (rest > half || (rest == half && (q & 1) != 0)) {
            ++q;
        }
        fromScaledInteger(q, p, out);
        return true;
    }
    return false;
}

} // namespace

std::uint64_t mantissaOf(const char* digits, int count)
{
    std::uint64_t mantissa = 0;
    for (int i = 0; i < count; ++i) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(digits[i] - '0');
    }
    return mantissa;
}

Decimal toDecimal(double value)
{
    Decimal d;
    if (value == 0.0) {
        return d;
    }
    d.negative = std::signbit(value);
    if (exactDigits(std::fabs(value), d)) {
        return d;
    }
    // Far out of the range of a bill. The shortest text that reads back as
    // the same double: when it has at most 15 digits it is also the double
    // rounded to 15 digits, but for the tiniest doubles, which have fewer
    // bits, it is shorter still ("5E-324").
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    readScientific(buf, r.ptr, d);
    if (d.count > kSignificantDigits) {
        r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                          kSignificantDigits - 1);
        readScientific(buf, r.ptr, d);
    }
    return d;
}

} // namespace kaldora::billing
