#include "billing/numbertext.h"

#include "billing/decimal.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace kaldora::billing {

namespace {

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

// The general number text of the largest doubles, "1,79769313486232E+308",
// stands a little above the largest double (1,7976931348623157E+308), less
// than half a unit of its last digit away; from_chars calls it out of range.
// Every text the program writes must read back as a number, so a text up to
// this one is read as the largest double. Anything beyond it is refused.
constexpr std::string_view kLargestTextDigits = "179769313486232";
constexpr int kLargestTextPlaces = 309; // 0,179769313486232 x 10^309
constexpr int kLongestExponent = 6;     // digits; beyond that, far out of range

// `number` is an out-of-range number with '.' as separator: an optional
// minus, digits with at most one period, an optional exponent.
std::optional<double> nearLargestDouble(std::string_view number)
{
    std::size_t i = 0;
    const bool negative = !number.empty() && number[0] == '-';
    i += negative ? 1 : 0;
    // The significant digits, and the power of ten of 0,d1d2... they make.
    std::string digits;
    int places = 0;
    bool afterPoint = false;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        const char c = number[i];
        if (c == '.') {
            afterPoint = true;
        } else if (digits.empty() && c == '0') {
            places -= afterPoint ? 1 : 0;
        } else {
            digits.push_back(c);
            places += afterPoint ? 0 : 1;
        }
    }
    if (i < number.size()) {
        std::size_t e = i + 1;
        const bool negativeExponent = e < number.size() && number[e] == '-';
        if (e < number.size() && (number[e] == '-' || number[e] == '+')) {
            ++e;
        }
        if (number.size() - e > static_cast<std::size_t>(kLongestExponent)) {
            return std::nullopt;
        }
        int exponent = 0;
        for (; e < number.size(); ++e) {
            exponent = exponent * 10 + (number[e] - '0');
        }
        places += negativeExponent ? -exponent : exponent;
    }
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
    }
    if (places != kLargestTextPlaces || digits.size() > kLargestTextDigits.size() ||
        std::string_view(digits) > kLargestTextDigits.substr(0, digits.size())) {
        return std::nullopt;
    }
    const double largest = std::numeric_limits<double>::max();
    return negative ? -largest : largest;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

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
    if (ec == std::errc::result_out_of_range && ptr == buf + n) {
        return nearLargestDouble(std::string_view(buf, n));
    }
    if (ec != std::errc() || ptr != buf + n || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

NumberBuffer NumberText::general(double value) const
{
    if (!std::isfinite(value)) {
        return {};
    }
    return general(toDecimal(value));
}

std::optional<double> NumberText::valueOf(const Decimal& d)
{
    if (d.count == 0) {
        return 0.0;
    }
    const int scale = d.exp10 + 1 - d.count;
    if (scale < -kLargestExactPower || scale > kLargestExactPower) {
        return std::nullopt;
    }
    // At most 15 digits: an exact integer, as parse() gathers them.
    const auto m = static_cast<double>(d.mantissa);
    const double value = scale >= 0 ? m * kExactPowersOfTen[scale] : m / kExactPowersOfTen[-scale];
    return d.negative ? -value : value;
}

NumberBuffer NumberText::general(const Decimal& d) const
{
    NumberBuffer out;
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
    if (!std::isfinite(value)) {
        return {};
    }
    Decimal d = toDecimal(value);
    return rounded(d, decimals);
}

NumberBuffer NumberText::rounded(Decimal& d, int decimals) const
{
    NumberBuffer out;
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
        d.mantissa = mantissaOf(d.digits, d.count);
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

std::string NumberText::whole(std::string_view text) const
{
    return roundedText(text, 0);
}

std::string NumberText::fixed2(std::string_view text) const
{
    return roundedText(text, 2);
}

} // namespace kaldora::billing
