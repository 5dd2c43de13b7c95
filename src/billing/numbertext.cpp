#include "numbertext.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace kaldora::billing {

namespace {

constexpr int kSignificantDigits = 15;

// A finite double as at most 15 significant decimal digits:
// value = (negative ? -1 : 1) x 0.d1d2...dn x 10^(exp10 + 1), i.e. the first
// digit has the place value 10^exp10. Zero has no digits.
struct Decimal {
    bool negative = false;
    int count = 0;
    int exp10 = 0;
    char digits[kSignificantDigits + 2];
};

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
constexpr std::uint64_t kFifteenDigitsLow = kPowersOfTen[kSignificantDigits - 1];
constexpr std::uint64_t kFifteenDigitsHigh = kPowersOfTen[kSignificantDigits];

constexpr int kFractionBits = 52;
constexpr int kExponentBias = 1023;
constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << kFractionBits) - 1;
constexpr double kLog10Of2 = 0.30102999566398120;

// Sets out to the digits of q x 10^-decimals, q having 15 or 16 digits.
// Most numbers on a bill have only a few of them, so the trailing zeros go
// first, in halving steps, and only the rest is written out.
void fromScaledInteger(std::uint64_t q, int decimals, Decimal& out)
{
    int zeros = 0;
    for (int step : {8, 4, 2, 1}) {
        if (q % kPowersOfTen[step] == 0) {
            q /= kPowersOfTen[step];
            zeros += step;
        }
    }
    const auto r = std::to_chars(out.digits, out.digits + sizeof out.digits, q);
    out.count = static_cast<int>(r.ptr - out.digits);
    out.exp10 = out.count + zeros - 1 - decimals;
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
    // The decimal exponent of the first digit is this estimate or one more.
    int exponent = static_cast<int>(std::floor((binaryExponent + kFractionBits) * kLog10Of2));
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

// 10^0 to 10^22, the powers of ten that a double holds exactly.
constexpr auto kExactPowersOfTen = [] {
    std::array<double, 23> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i) {
        powers[i] = powers[i - 1] * 10;
    }
    return powers;
}();
constexpr int kLargestExactPower = 22;
// An exponent of more digits than this is left to from_chars; it cannot
// overflow the integer that gathers it.
constexpr int kShortExponentDigits = 4;

void appendZeros(NumberBuffer& out, int n)
{
    for (int i = 0; i < n; ++i) {
        out.push('0');
    }
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

void NumberBuffer::append(std::string_view text)
{
    std::memcpy(m_data + m_size, text.data(), text.size());
    m_size += text.size();
}

NumberText::NumberText(char decimalSeparator)
    : m_separator(decimalSeparator == ',' ? ',' : '.')
{
}

std::optional<double> NumberText::parse(std::string_view text) const
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }

    // Check the shape first: std::from_chars alone would take "inf", "nan",
    // hexadecimal digits and a partial text. On the way, gather the digits
    // into an integer for the short texts that need no from_chars.
    std::size_t i = begin;
    const bool negative = i < end && text[i] == '-';
    if (i < end && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    const std::size_t numberStart = i;
    std::size_t separatorAt = std::string_view::npos;
    int digits = 0;
    // The digits as one integer while they number at most 15, leading zeros
    // not counted.
    std::uint64_t mantissa = 0;
    bool shortMantissa = true;
    int scale = 0;
    for (; i < end; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            ++digits;
            if (mantissa < kFifteenDigitsLow) {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            } else {
                shortMantissa = false;
            }
            scale -= separatorAt != std::string_view::npos;
        } else if (c == m_separator && separatorAt == std::string_view::npos) {
            separatorAt = i;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    bool shortExponent = true;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negativeExponent = i < end && text[i] == '-';
        if (i < end && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t exponentStart = i;
        int exponent = 0;
        for (; i < end && isDigit(text[i]); ++i) {
            if (i - exponentStart < kShortExponentDigits) {
                exponent = exponent * 10 + (text[i] - '0');
            } else {
                shortExponent = false;
            }
        }
        if (i == exponentStart) {
            return std::nullopt;
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    if (i != end) {
        return std::nullopt;
    }

    // Up to 15 digits are an exact integer, and 10^22 is the largest exact
    // power of ten: one multiplication or division of the two rounds the
    // true value correctly, which is all from_chars would do.
    if (shortMantissa && shortExponent && scale >= -kLargestExactPower &&
        scale <= kLargestExactPower) {
        const auto m = static_cast<double>(mantissa);
        const double value =
            scale >= 0 ? m * kExactPowersOfTen[scale] : m / kExactPowersOfTen[-scale];
        return negative ? -value : value;
    }

    // from_chars wants a period and no plus sign: copy the number part with
    // the separator replaced.
    const std::size_t length = end - numberStart + 1;
    char small[128];
    std::string large;
    char* buf = small;
    if (length > sizeof small) {
        large.resize(length);
        buf = large.data();
    }
    std::size_t n = 0;
    if (negative) {
        buf[n++] = '-';
    }
    for (std::size_t k = numberStart; k < end; ++k) {
        buf[n++] = k == separatorAt ? '.' : text[k];
    }
    // "5," and ",5" are numbers here; from_chars needs a digit on either
    // side of the period only for the former.
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(buf, buf + n, value);
    if (ec != std::errc() || ptr != buf + n || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

NumberBuffer NumberText::general(double value) const
{
    NumberBuffer out;
    if (!std::isfinite(value)) {
        return out;
    }
    const Decimal d = toDecimal(value);
    if (d.count == 0) {
        out.push('0');
        return out;
    }
    if (d.negative) {
        out.push('-');
    }
    const int x = d.exp10;
    if (x < -4 || x >= kSignificantDigits) {
        out.push(d.digits[0]);
        if (d.count > 1) {
            out.push(m_separator);
            out.append(std::string_view(d.digits + 1, d.count - 1));
        }
        out.push('E');
        out.push(x < 0 ? '-' : '+');
        char exp[8];
        auto r = std::to_chars(exp, exp + sizeof exp, x < 0 ? -x : x);
        if (r.ptr - exp < 2) {
            out.push('0');
        }
        out.append(std::string_view(exp, r.ptr - exp));
        return out;
    }
    if (x < 0) {
        out.push('0');
        out.push(m_separator);
        appendZeros(out, -x - 1);
        out.append(std::string_view(d.digits, d.count));
        return out;
    }
    const int integerDigits = x + 1;
    if (d.count <= integerDigits) {
        out.append(std::string_view(d.digits, d.count));
        appendZeros(out, integerDigits - d.count);
    } else {
        out.append(std::string_view(d.digits, integerDigits));
        out.push(m_separator);
        out.append(std::string_view(d.digits + integerDigits, d.count - integerDigits));
    }
    return out;
}

NumberBuffer NumberText::rounded(double value, int decimals) const
{
    NumberBuffer out;
    if (!std::isfinite(value)) {
        return out;
    }
    Decimal d = toDecimal(value);
    // Keep the digits whose place value is at least 10^-decimals and round
    // on the first digit dropped: 5 or more rounds the magnitude up, which is
    // half away from zero.
    const int keep = d.exp10 + 1 + decimals;
    if (keep < d.count) {
        const bool up = keep >= 0 && d.digits[keep] >= '5';
        d.count = keep < 0 ? 0 : keep;
        if (up) {
            int i = d.count - 1;
            while (i >= 0 && d.digits[i] == '9') {
                --i;
            }
            if (i < 0) {
                // 9,99 becomes 10,0; with nothing kept (keep 0) this is one
                // unit of the last decimal, 10^-decimals.
                d.digits[0] = '1';
                d.count = 1;
                d.exp10 += 1;
            } else {
                ++d.digits[i];
                d.count = i + 1;
            }
        }
        while (d.count > 0 && d.digits[d.count - 1] == '0') {
            --d.count;
        }
    }

    if (d.count > 0 && d.negative) {
        out.push('-');
    }
    // Digit at place value 10^p, for p from the highest down to -decimals.
    auto digitAt = [&d](int p) {
        const int index = d.exp10 - p;
        return d.count > 0 && index >= 0 && index < d.count ? d.digits[index] : '0';
    };
    const int top = d.count > 0 && d.exp10 > 0 ? d.exp10 : 0;
    for (int p = top; p >= 0; --p) {
        out.push(digitAt(p));
    }
    if (decimals > 0) {
        out.push(m_separator);
        for (int p = -1; p >= -decimals; --p) {
            out.push(digitAt(p));
        }
    }
    return out;
}

std::string NumberText::roundedText(std::string_view text, int decimals) const
{
    if (const auto value = parse(text)) {
        return rounded(*value, decimals).str();
    }
    return std::string(text);
}

std::string NumberText::whole(std::string_view text) const { return roundedText(text, 0); }

std::string NumberText::fixed2(std::string_view text) const { return roundedText(text, 2); }

} // namespace kaldora::billing
