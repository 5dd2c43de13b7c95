#include "numbertext.h"

#include <charconv>
#include <cmath>
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

Decimal toDecimal(double value)
{
    Decimal d;
    if (value == 0.0) {
        return d;
    }
    char buf[64];
    // The shortest text that reads back as the same double: when it has at
    // most 15 digits it is also the double rounded to 15 digits, since a
    // double's spacing is far below half a unit of the 15th digit.
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    readScientific(buf, r.ptr, d);
    if (d.count > kSignificantDigits) {
        r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                          kSignificantDigits - 1);
        readScientific(buf, r.ptr, d);
    }
    return d;
}

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
    // hexadecimal digits and a partial text.
    std::size_t i = begin;
    const bool negative = i < end && text[i] == '-';
    if (i < end && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    const std::size_t numberStart = i;
    std::size_t separatorAt = std::string_view::npos;
    int digits = 0;
    for (; i < end; ++i) {
        if (isDigit(text[i])) {
            ++digits;
        } else if (text[i] == m_separator && separatorAt == std::string_view::npos) {
            separatorAt = i;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t exponentStart = i;
        while (i < end && isDigit(text[i])) {
            ++i;
        }
        if (i == exponentStart) {
            return std::nullopt;
        }
    }
    if (i != end) {
        return std::nullopt;
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
                // 9.99 -> 10.0, or nothing kept at all -> one unit.
                d.digits[0] = '1';
                d.count = 1;
                d.exp10 += 1;
                if (keep <= 0) {
                    d.exp10 = -decimals;
                }
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
