#pragma once

#include "billing/decimal.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kaldora::billing {

// A number written out as text, short enough to live on the stack: the
// whole-number format of the largest double needs 309 digits and a sign.
class NumberBuffer {
public:
    static constexpr std::size_t kCapacity = 352;

    std::string_view view() const { return {m_data, m_size}; }
    std::string str() const { return std::string(view()); }
    operator std::string_view() const { return view(); }

    void clear() { m_size = 0; }
    void push(char c) { m_data[m_size++] = c; }
    void append(std::string_view text);

private:
    char m_data[kCapacity];
    std::size_t m_size = 0;
};

// Converts between the texts in the bill's fields and doubles, with the
// decimal separator of the user's locale. The separator is handed in; the
// calculation never asks the C library for a locale.
//
// A text is a number when it is, with optional blanks around it: an optional
// sign, digits with at most one decimal separator (at least one digit in
// all), and an optional exponent (E or e, optional sign, digits). Grouping
// separators are refused, so "1.234" in a decimal-comma locale is not a
// number rather than silently 1234. A text whose value does not fit in a
// double (1E400) is refused as well.
class NumberText {
public:
    explicit NumberText(char decimalSeparator = ',');

    char decimalSeparator() const { return m_separator; }

    std::optional<double> parse(std::string_view text) const;

    // The general number text: up to 15 significant digits, the locale's
    // separator, no grouping, no trailing zeros, a minus for a negative
    // number. Below 0,0001 and from 1E+15 on the number is written with an
    // exponent, "1,5E+20", "1E-05". A non-finite value yields an empty text.
    NumberBuffer general(double value) const;

    // The whole-number format ("233,2" -> "233", "0,5" -> "1") and the fixed
    // two-decimal format ("722,3" -> "722,30"). Both round the number as its
    // general number text shows it, half away from zero, on the decimal
    // digits: 1242,75 x 0,18 is held just below 223,695 but shows as
    // "223,695", so it becomes "223,70". A value that rounds to zero shows no
    // minus sign. A text that is not a number comes back unchanged.
    std::string whole(std::string_view text) const;
    std::string fixed2(std::string_view text) const;

    NumberBuffer whole(double value) const { return rounded(value, 0); }
    NumberBuffer fixed2(double value) const { return rounded(value, 2); }

    // The same texts from a number's shown digits (toDecimal), for a caller
    // that keeps the digits: the calculation rounds the very numbers it has
    // just written, and need not take them apart again.
    NumberBuffer general(const Decimal& digits) const;
    // Rounds `digits` to `decimals` places, half away from zero, and writes
    // them in the whole-number (0) or two-decimal (2) format.
    NumberBuffer rounded(Decimal& digits, int decimals) const;

    // What the text of `digits` reads back as, worked out without the text:
    // exact, and the same double parse() gives, when the digits times their
    // power of ten is one exact operation (a power of ten up to 10^22);
    // nullopt otherwise, and then the text must be read.
    static std::optional<double> valueOf(const Decimal& digits);

private:
    NumberBuffer rounded(double value, int decimals) const;
    std::string roundedText(std::string_view text, int decimals) const;

    char m_separator;
};

} // namespace kaldora::billing
