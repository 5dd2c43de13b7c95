#pragma once

// What the calculation takes from C++20's standard library and the libc++
// of the browser build (emscripten's libc++ 13) lacks: std::bit_cast and
// std::to_chars / std::from_chars for doubles. The browser build includes
// this header before every source of the calculation; the desktop builds
// never see it, so their calculation keeps its library's fast conversions.
//
// The replacements are built on the C library's correctly rounded printf and
// strtod, and give the same texts and numbers as the desktop's library:
// - to_chars in scientific form with a precision: printf's "%.*e", which is
//   how the standard defines it;
// - to_chars in shortest scientific form: the fewest digits that strtod
//   reads back as the same double;
// - from_chars: the same pattern as the standard's (an optional minus, no
//   plus, no blanks, no hexadecimal in the general format) read by strtod,
//   with result_out_of_range where the desktop's library gives it: a number
//   too large for a double, or one too small to be anything but zero.
// They live in a namespace of their own so that a desktop test can hold them
// against the desktop's library.

#include <version>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace kaldora::web::compat {

inline std::to_chars_result scientificText(char* first, char* last, double value, int precision)
{
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%.*e", precision, value);
    if (n < 0 || n >= static_cast<int>(sizeof buf) || n > last - first) {
        return {last, std::errc::value_too_large};
    }
    std::memcpy(first, buf, static_cast<std::size_t>(n));
    return {first + n, std::errc()};
}

inline std::to_chars_result shortestScientificText(char* first, char* last, double value)
{
    // 17 significant digits always read back as the same double.
    constexpr int kRoundTripPrecision = 16;
    for (int precision = 0; precision < kRoundTripPrecision; ++precision) {
        char buf[64];
        const int n = std::snprintf(buf, sizeof buf, "%.*e", precision, value);
        if (n > 0 && n < static_cast<int>(sizeof buf) && std::strtod(buf, nullptr) == value) {
            return scientificText(first, last, value, precision);
        }
    }
    return scientificText(first, last, value, kRoundTripPrecision);
}

// Where the number that from_chars would read ends: an optional minus,
// digits with at most one period (at least one digit), and an exponent only
// where it is complete. nullptr when no number starts at `first`.
inline const char* decimalEnd(const char* first, const char* last)
{
    const char* p = first;
    if (p != last && *p == '-') {
        ++p;
    }
    bool digits = false;
    while (p != last && std::isdigit(static_cast<unsigned char>(*p))) {
        ++p;
        digits = true;
    }
    if (p != last && *p == '.') {
        ++p;
        while (p != last && std::isdigit(static_cast<unsigned char>(*p))) {
            ++p;
            digits = true;
        }
    }
    if (!digits) {
        return nullptr;
    }
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* e = p + 1;
        if (e != last && (*e == '+' || *e == '-')) {
            ++e;
        }
        if (e != last && std::isdigit(static_cast<unsigned char>(*e))) {
            while (e != last && std::isdigit(static_cast<unsigned char>(*e))) {
                ++e;
            }
            p = e;
        }
    }
    return p;
}

inline bool hasNonZeroDigit(const char* first, const char* last)
{
    for (const char* p = first; p != last && *p != 'e' && *p != 'E'; ++p) {
        if (*p >= '1' && *p <= '9') {
            return true;
        }
    }
    return false;
}

inline std::from_chars_result readDouble(const char* first, const char* last, double& value)
{
    const char* end = decimalEnd(first, last);
    if (end == nullptr) {
        // "inf", "infinity" and "nan", as the standard's pattern allows;
        // strtod knows them, and knows nothing that starts with a blank or
        // a plus sign here, because neither gets this far.
        const char* p = first + (first != last && *first == '-');
        if (p == last || !std::isalpha(static_cast<unsigned char>(*p))) {
            return {first, std::errc::invalid_argument};
        }
        const std::string text(first, last);
        char* stop = nullptr;
        const double v = std::strtod(text.c_str(), &stop);
        if (stop == text.c_str()) {
            return {first, std::errc::invalid_argument};
        }
        value = v;
        return {first + (stop - text.c_str()), std::errc()};
    }
    const std::string text(first, end);
    const double v = std::strtod(text.c_str(), nullptr);
    if (std::isinf(v) || (v == 0 && hasNonZeroDigit(first, end))) {
        return {end, std::errc::result_out_of_range};
    }
    value = v;
    return {end, std::errc()};
}

} // namespace kaldora::web::compat

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000

namespace std {

template <class To, class From>
requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> &&
         is_trivially_copyable_v<From>) constexpr To bit_cast(const From& from) noexcept
{
    return __builtin_bit_cast(To, from);
}

inline to_chars_result to_chars(char* first, char* last, double value, chars_format format)
{
    if (format != chars_format::scientific) {
        return {last, errc::invalid_argument};
    }
    return kaldora::web::compat::shortestScientificText(first, last, value);
}

inline to_chars_result to_chars(char* first, char* last, double value, chars_format format,
                                int precision)
{
    if (format != chars_format::scientific) {
        return {last, errc::invalid_argument};
    }
    return kaldora::web::compat::scientificText(first, last, value, precision);
}

inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format format = chars_format::general)
{
    if (format != chars_format::general) {
        return {first, errc::invalid_argument};
    }
    return kaldora::web::compat::readDouble(first, last, value);
}

} // namespace std

#endif
