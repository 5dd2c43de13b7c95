// Fuzz target: the number texts. Any text may be typed into a field, so
// reading one must never crash; and every text the program writes into a
// number field must read back as the number it stands for.
//
// Input: the first byte picks the decimal separator (lowest bit: ',' or '.'),
// the rest is a field text. The start of that text, read as doubles eight
// bytes at a time, also gives numbers to write: most doubles are no text
// anybody types, and the writer must handle every finite one.

#include "decimalreference.h"
#include "fuzzcheck.h"

#include "billing/numbertext.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

using kaldora::billing::NumberText;
using kaldora::fuzz::DecimalText;

namespace {

// Enough numbers from one input to mix kinds; more only slow the fuzzer.
constexpr std::size_t kMostNumbers = 16;
constexpr int kWholeDecimals = 0;
constexpr int kFixedDecimals = 2;
// powl's own error, far below the half unit it scales.
constexpr long double kPowerTolerance = 1e-15L;

// One unit in the last place of a double, the gap a text's read-back may
// add to the rounding of its digits.
long double ulp(double value)
{
    const double magnitude = std::fabs(value);
    if (magnitude < std::numeric_limits<double>::min()) {
        return std::numeric_limits<double>::denorm_min();
    }
    return std::ldexp(1.0L, std::ilogb(magnitude) - std::numeric_limits<double>::digits + 1);
}

// True when `a` and `b` are at most half a unit of the digit at 10^place
// apart, give or take what reading a text back as a double may round.
bool withinHalfUnit(double a, double b, int place)
{
    const long double difference = std::fabs(static_cast<long double>(a) - b);
    const long double halfUnit = 0.5L * std::pow(10.0L, place) * (1 + kPowerTolerance);
    return difference <= halfUnit + ulp(a) + ulp(b);
}

std::string swapSeparators(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        c = c == ',' ? '.' : c == '.' ? ',' : c;
    }
    return out;
}

std::string shown(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// The rounded formats of `value`, whose general text is `general` and reads
// back as `readBack`.
void checkRounded(const NumberText& numbers, double value, const DecimalText& general,
                  std::string_view generalText, double readBack, int decimals)
{
    const std::string byValue =
        decimals == kWholeDecimals ? numbers.whole(value).str() : numbers.fixed2(value).str();
    const std::string byText =
        decimals == kWholeDecimals ? numbers.whole(generalText) : numbers.fixed2(generalText);
    const std::string expected = general.rounded(decimals, numbers.decimalSeparator());
    FUZZ_CHECK(byValue == expected, "%.17g (%s) to %d decimals: %s, expected %s", value,
               shown(generalText).c_str(), decimals, byValue.c_str(), expected.c_str());
    FUZZ_CHECK(byText == byValue, "%s to %d decimals as text: %s, as number: %s",
               shown(generalText).c_str(), decimals, byText.c_str(), byValue.c_str());

    const auto back = numbers.parse(byValue);
    FUZZ_CHECK(back.has_value(), "%s does not read back", shown(byValue).c_str());
    FUZZ_CHECK(withinHalfUnit(*back, readBack, -decimals), "%s reads back as %.17g, %s as %.17g",
               shown(byValue).c_str(), *back, shown(generalText).c_str(), readBack);
}

// Everything the program may write for a finite value.
void checkWritten(const NumberText& numbers, const NumberText& other, double value)
{
    const auto general = numbers.general(value);
    const std::string_view text = general.view();
    FUZZ_CHECK(!text.empty(), "%.17g has an empty general text", value);
    FUZZ_CHECK(swapSeparators(text) == other.general(value).view(),
               "%.17g: general texts %s and %s differ in more than the separator", value,
               shown(text).c_str(), shown(other.general(value)).c_str());

    const auto back = numbers.parse(text);
    FUZZ_CHECK(back.has_value(), "%.17g is written %s, which does not read back", value,
               shown(text).c_str());
    const auto digits = DecimalText::read(text, numbers.decimalSeparator());
    FUZZ_CHECK(digits.has_value(), "%.17g is written %s, not a general number text", value,
               shown(text).c_str());
    FUZZ_CHECK(withinHalfUnit(*back, value, digits->lastPlace()),
               "%.17g is written %s, which reads back as %.17g", value, shown(text).c_str(), *back);

    checkRounded(numbers, value, *digits, text, *back, kWholeDecimals);
    checkRounded(numbers, value, *digits, text, *back, kFixedDecimals);
}

// A number text read with the C library's correctly rounded strtod, the
// period as separator; nullopt when strtod does not give a finite double.
std::optional<double> strtodValue(std::string_view text, char separator)
{
    std::string copy;
    for (char c : text) {
        if (c != ' ' && c != '\t') {
            copy.push_back(c == separator ? '.' : c);
        }
    }
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

void checkTyped(const NumberText& numbers, const NumberText& other, std::string_view text)
{
    const auto value = numbers.parse(text);
    // Reading a text is the same with either separator when the two are swapped.
    const auto swapped = other.parse(swapSeparators(text));
    FUZZ_CHECK(value.has_value() == swapped.has_value() &&
                   (!value || std::memcmp(&*value, &*swapped, sizeof(double)) == 0),
               "%s reads differently with the separators swapped", shown(text).c_str());
    if (!value) {
        FUZZ_CHECK(numbers.whole(text) == text && numbers.fixed2(text) == text,
                   "%s is no number but the formats change it", shown(text).c_str());
        return;
    }
    FUZZ_CHECK(std::isfinite(*value), "%s reads as %g", shown(text).c_str(), *value);
    if (const auto reference = strtodValue(text, numbers.decimalSeparator())) {
        FUZZ_CHECK(std::memcmp(&*value, &*reference, sizeof(double)) == 0,
                   "%s reads as %.17g, strtod gives %.17g", shown(text).c_str(), *value,
                   *reference);
    }
    checkWritten(numbers, other, *value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const NumberText comma(',');
    static const NumberText period('.');
    if (size == 0) {
        return 0;
    }
    const bool commaFirst = (data[0] & 1) == 0;
    const NumberText& numbers = commaFirst ? comma : period;
    const NumberText& other = commaFirst ? period : comma;

    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    checkTyped(numbers, other, text);
    const std::size_t numberBytes = std::min(text.size(), kMostNumbers * sizeof(double));
    for (std::size_t at = 0; at + sizeof(double) <= numberBytes; at += sizeof(double)) {
        double value = 0;
        std::memcpy(&value, text.data() + at, sizeof value);
        if (std::isfinite(value)) {
            checkWritten(numbers, other, value);
        }
    }
    return 0;
}
