#include "decimalreference.h"

#include <algorithm>
#include <cstddef>

namespace kaldora::fuzz {

namespace {

// Exponents beyond this are no text the program writes.
constexpr int kLongestExponent = 4;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Adds one to a string of decimal digits; "999" becomes "1000".
void increment(std::string& digits)
{
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

std::optional<DecimalText> DecimalText::read(std::string_view text, char separator)
{
    DecimalText d;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        d.negative = true;
        ++i;
    }
    int before = -1;
    for (; i < text.size() && text[i] != 'E'; ++i) {
        if (isDigit(text[i])) {
            d.digits.push_back(text[i]);
        } else if (text[i] == separator && before < 0) {
            before = static_cast<int>(d.digits.size());
        } else {
            return std::nullopt;
        }
    }
    if (d.digits.empty()) {
        return std::nullopt;
    }
    d.pointPlace = before < 0 ? static_cast<int>(d.digits.size()) : before;
    if (i < text.size()) {
        ++i;
        if (i == text.size() || (text[i] != '+' && text[i] != '-')) {
            return std::nullopt;
        }
        const bool negativeExponent = text[i] == '-';
        ++i;
        const std::size_t exponentDigits = text.size() - i;
        if (exponentDigits == 0 || exponentDigits > kLongestExponent) {
            return std::nullopt;
        }
        int exponent = 0;
        for (; i < text.size(); ++i) {
            if (!isDigit(text[i])) {
                return std::nullopt;
            }
            exponent = exponent * 10 + (text[i] - '0');
        }
        d.pointPlace += negativeExponent ? -exponent : exponent;
    }
    return d;
}

std::string DecimalText::rounded(int decimals, char separator) const
{
    // Written out plainly: the whole part and `decimals` + 1 decimals, the
    // last of which decides the rounding.
    std::string whole;
    std::string fraction;
    const auto count = static_cast<int>(digits.size());
    if (pointPlace <= 0) {
        whole = "0";
        fraction = std::string(static_cast<std::size_t>(-pointPlace), '0') + digits;
    } else if (pointPlace >= count) {
        whole = digits + std::string(static_cast<std::size_t>(pointPlace - count), '0');
    } else {
        whole = digits.substr(0, static_cast<std::size_t>(pointPlace));
        fraction = digits.substr(static_cast<std::size_t>(pointPlace));
    }
    const auto kept = static_cast<std::size_t>(decimals);
    fraction.resize(std::max(fraction.size(), kept + 1), '0');
    const bool up = fraction[kept] >= '5';

    std::string number = whole + fraction.substr(0, kept);
    if (up) {
        increment(number);
    }
    while (number.size() > kept + 1 && number.front() == '0') {
        number.erase(number.begin());
    }
    const bool zero = number.find_first_not_of('0') == std::string::npos;

    std::string out = negative && !zero ? "-" : "";
    out += number.substr(0, number.size() - kept);
    if (decimals > 0) {
        out += separator;
        out += number.substr(number.size() - kept);
    }
    return out;
}

} // namespace kaldora::fuzz
