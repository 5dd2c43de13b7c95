// Holds the browser build's replacements for the C++ library's number
// conversions against the desktop's own library: the same texts for the
// same doubles, the same doubles and answers for the same texts. Built and
// run natively by the browser tests; prints "N passed, N failed".

#include "libcxxcompat.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

namespace {

namespace compat = kaldora::web::compat;

int g_passed = 0;
int g_failed = 0;

void expect(bool ok, const std::string& what, double value)
{
    ok ? ++g_passed : ++g_failed;
    if (!ok) {
        std::printf("FAILED: %s (%a)\n", what.c_str(), value);
    }
}

// -1 stands for the shortest text.
void compareToChars(double value)
{
    for (const int precision : {-1, 0, 3, 14, 16}) {
        char mine[64];
        char theirs[64];
        const auto format = std::chars_format::scientific;
        const auto a = precision < 0 ? compat::shortestScientificText(mine, mine + 64, value)
                                     : compat::scientificText(mine, mine + 64, value, precision);
        const auto b = precision < 0 ? std::to_chars(theirs, theirs + 64, value, format)
                                     : std::to_chars(theirs, theirs + 64, value, format, precision);
        expect(std::string(mine, a.ptr) == std::string(theirs, b.ptr),
               "text " + std::string(mine, a.ptr) + " to precision " + std::to_string(precision),
               value);
    }
}

void compareFromChars(const std::string& text)
{
    double mine = -7;
    double theirs = -7;
    const auto a = compat::readDouble(text.data(), text.data() + text.size(), mine);
    const auto b = std::from_chars(text.data(), text.data() + text.size(), theirs);
    expect(a.ec == b.ec && a.ptr == b.ptr &&
               std::bit_cast<std::uint64_t>(mine) == std::bit_cast<std::uint64_t>(theirs),
           "reading \"" + text + "\" used " + std::to_string(a.ptr - text.data()), mine);
}

} // namespace

int main()
{
    // Texts at the edges: out of range both ways, the smallest doubles and
    // what rounds to them, the largest and just beyond, incomplete
    // exponents, and what the standard's pattern does not take.
    for (const char* text : {"1e-400",
                             "-1e-400",
                             "2e-324",
                             "2.5e-324",
                             "3e-324",
                             "1e-310",
                             "1.8e308",
                             "1.7976931348623158e308",
                             "1.7976931348623159e308",
                             "-1.79769313486232e308",
                             "0e999",
                             "0.000e-999999",
                             "1e",
                             "1e+",
                             "1.e5",
                             ".5",
                             "5.",
                             "-.5e+3x",
                             "00012.50",
                             "inf",
                             "-Infinity",
                             "nan",
                             "+1",
                             " 1",
                             "0x10",
                             "-",
                             ".",
                             "-.e1",
                             "e5",
                             "1e400"}) {
        compareFromChars(text);
    }

    // Doubles of every magnitude, and the texts they make.
    std::mt19937_64 random(20240331);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (value - value != 0) {
            continue; // nan and infinity: the calculation never writes them
        }
        compareToChars(value);
        for (const int precision : {-1, 5}) {
            char text[64];
            const auto r = precision < 0 ? std::to_chars(text, text + 64, value)
                                         : std::to_chars(text, text + 64, value,
                                                         std::chars_format::scientific, precision);
            compareFromChars(std::string(text, r.ptr));
        }
    }
    for (const double value : {5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 0.1, 1e15,
                               1e-5, 223.695, -1242.75 * 0.18}) {
        compareToChars(value);
    }

    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
