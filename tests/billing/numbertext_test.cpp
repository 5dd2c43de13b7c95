#include "billing/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace kaldora::billing {
namespace {

struct ParseCase {
    const char* text;
    char separator;
    std::optional<double> expected;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << '"' << c.text << "\" with '" << c.separator << '\'';
}

class Parse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(Parse, AcceptsExactlyTheNumberShapes)
{
    const ParseCase& c = GetParam();
    const auto value = NumberText(c.separator).parse(c.text);
    if (!c.expected) {
        EXPECT_FALSE(value.has_value()) << "parsed as " << *value;
        return;
    }
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, *c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, Parse,
    ::testing::Values(ParseCase{"0", ',', 0.0}, ParseCase{"30", ',', 30.0},
                      ParseCase{"234,5", ',', 234.5}, ParseCase{"1242,75", ',', 1242.75},
                      ParseCase{"-1", ',', -1.0}, ParseCase{"+5", ',', 5.0},
                      ParseCase{"  12 ", ',', 12.0}, ParseCase{"\t7\t", ',', 7.0},
                      ParseCase{" -3,25  ", ',', -3.25}, ParseCase{"5,", ',', 5.0},
                      ParseCase{",5", ',', 0.5}, ParseCase{"1E300", ',', 1e300},
                      ParseCase{"1e300", ',', 1e300}, ParseCase{"1,5e-3", ',', 1.5e-3},
                      ParseCase{"1,5E+3", ',', 1500.0}, ParseCase{"620.00", '.', 620.0},
                      ParseCase{" 1.5e-3 ", '.', 1.5e-3}, ParseCase{"0,1", ',', 0.1},
                      // More than 15 digits: still the nearest double.
                      ParseCase{"8139971722378,7401", ',', 8139971722378.7401},
                      ParseCase{"10303515748,823385", ',', 10303515748.823385}));

INSTANTIATE_TEST_SUITE_P(
    Refused, Parse,
    ::testing::Values(
        ParseCase{"", ',', {}}, ParseCase{"   ", ',', {}}, ParseCase{"-", ',', {}},
        ParseCase{"+", ',', {}}, ParseCase{",", ',', {}}, ParseCase{"-,", ',', {}},
        ParseCase{"1.234", ',', {}}, ParseCase{"1,234", '.', {}}, ParseCase{"1,2,3", ',', {}},
        ParseCase{"1 000", ',', {}}, ParseCase{"- 5", ',', {}}, ParseCase{"--5", ',', {}},
        ParseCase{"inf", ',', {}}, ParseCase{"-inf", ',', {}}, ParseCase{"nan", ',', {}},
        ParseCase{"Infinity", ',', {}}, ParseCase{"0x10", ',', {}}, ParseCase{"1e", ',', {}},
        ParseCase{"1e+", ',', {}}, ParseCase{"e5", ',', {}}, ParseCase{"12a", ',', {}},
        ParseCase{"1,5E3,0", ',', {}}, ParseCase{"1E400", ',', {}}, ParseCase{"-1E400", ',', {}},
        ParseCase{"5\n", ',', {}}));

struct GeneralCase {
    double value;
    const char* comma;
};

class General : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(General, WritesUpTo15SignificantDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(NumberText(',').general(GetParam().value).str(), GetParam().comma);
}

INSTANTIATE_TEST_SUITE_P(
    Values, General,
    ::testing::Values(GeneralCase{30, "30"}, GeneralCase{234.5, "234,5"},
                      GeneralCase{1242.75, "1242,75"}, GeneralCase{-1, "-1"}, GeneralCase{0, "0"},
                      GeneralCase{-0.0, "0"}, GeneralCase{119.07, "119,07"},
                      GeneralCase{1242.75 * 0.18, "223,695"}, GeneralCase{0.1 + 0.2, "0,3"},
                      GeneralCase{1234.5 - 1000.2, "234,3"},
                      GeneralCase{2.0 / 3.0, "0,666666666666667"},
                      GeneralCase{123456789.123456789, "123456789,123457"},
                      GeneralCase{999999999999999.0, "999999999999999"}, GeneralCase{1e15, "1E+15"},
                      GeneralCase{1.5e20, "1,5E+20"}, GeneralCase{-2.5e-7, "-2,5E-07"},
                      GeneralCase{1e-5, "1E-05"}, GeneralCase{0.0001, "0,0001"},
                      GeneralCase{1e300, "1E+300"},
                      GeneralCase{123456789012345678.0, "1,23456789012346E+17"}));

TEST(GeneralText, UsesTheLocaleSeparator)
{
    EXPECT_EQ(NumberText('.').general(234.5).str(), "234.5");
    EXPECT_EQ(NumberText('.').general(1.5e20).str(), "1.5E+20");
}

TEST(GeneralText, NonFiniteValueGivesNoText)
{
    const NumberText numbers(',');
    EXPECT_EQ(numbers.general(std::numeric_limits<double>::infinity()).str(), "");
    EXPECT_EQ(numbers.general(std::numeric_limits<double>::quiet_NaN()).str(), "");
}

// The value a double has after rounding to 15 significant digits, found by
// the C library's own formatting as an independent check.
double roundedTo15Digits(double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    return std::strtod(buf, nullptr);
}

// Digits from the first non-zero one up to the exponent.
std::size_t significantDigits(const std::string& text)
{
    std::size_t count = 0;
    bool started = false;
    for (char c : text) {
        if (c == 'E') {
            break;
        }
        started = started || (c >= '1' && c <= '9');
        count += started && c >= '0' && c <= '9';
    }
    return count;
}

TEST(GeneralText, ReadsBackAsTheValueRoundedTo15Digits)
{
    std::mt19937_64 random(20240331);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> wideExponent(-300, 300);
    std::uniform_int_distribution<int> narrowExponent(-8, 8);
    std::uniform_int_distribution<long long> cents(-100000000, 100000000);
    for (char separator : {',', '.'}) {
        const NumberText numbers(separator);
        for (int i = 0; i < 30000; ++i) {
            double value = 0;
            switch (i % 4) {
            case 0:
                value = mantissa(random) * std::pow(10.0, wideExponent(random));
                break;
            case 1:
                value = mantissa(random) * std::pow(10.0, narrowExponent(random));
                break;
            case 2:
                // Amounts in dinars and para, and their products with a rate.
                value = static_cast<double>(cents(random)) / 100 * (i % 8 == 2 ? 1 : 0.18);
                break;
            default:
                // Exactly half a unit of the 15th digit: 100000000000000,5 and
                // the like.
                value = (1e14 + static_cast<double>(std::abs(cents(random)))) + 0.5;
                break;
            }
            const std::string text = numbers.general(value).str();
            const auto back = numbers.parse(text);
            ASSERT_TRUE(back.has_value()) << text;
            ASSERT_EQ(*back, roundedTo15Digits(value)) << text;
            ASSERT_EQ(numbers.general(*back).str(), text);
            ASSERT_LE(significantDigits(text), 15u) << text;
            ASSERT_NE(text, "-0");
            if (text.find(separator) != std::string::npos && text.find('E') == std::string::npos) {
                ASSERT_NE(text.back(), '0') << text;
            }
        }
    }
}

struct RoundCase {
    const char* text;
    const char* whole;
    const char* fixed2;
};

class Rounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(Rounding, RoundsTheShownDigitsHalfAwayFromZero)
{
    const NumberText numbers(',');
    EXPECT_EQ(numbers.whole(GetParam().text), GetParam().whole);
    EXPECT_EQ(numbers.fixed2(GetParam().text), GetParam().fixed2);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Rounding,
    ::testing::Values(RoundCase{"233,2", "233", "233,20"}, RoundCase{"0,5", "1", "0,50"},
                      RoundCase{"-0,5", "-1", "-0,50"}, RoundCase{"722,3", "722", "722,30"},
                      RoundCase{"223,695", "224", "223,70"}, RoundCase{"9,995", "10", "10,00"},
                      RoundCase{"-9,995", "-10", "-10,00"}, RoundCase{"99,5", "100", "99,50"},
                      RoundCase{"12,345", "12", "12,35"}, RoundCase{"0,005", "0", "0,01"},
                      RoundCase{"0,004", "0", "0,00"}, RoundCase{"-0,004", "0", "0,00"},
                      RoundCase{"-0,4", "0", "-0,40"}, RoundCase{"0,0005", "0", "0,00"},
                      RoundCase{"-5,6843418860808E-14", "0", "0,00"}, RoundCase{"0", "0", "0,00"},
                      RoundCase{"-0", "0", "0,00"}, RoundCase{" 1,5E3 ", "1500", "1500,00"},
                      RoundCase{"999999999999999", "999999999999999", "999999999999999,00"},
                      RoundCase{"abc", "abc", "abc"}, RoundCase{"", "", ""},
                      RoundCase{"   ", "   ", "   "}, RoundCase{"1.234", "1.234", "1.234"},
                      RoundCase{"1E400", "1E400", "1E400"}));

TEST(Rounding, DoubleJustBelowAHalfRoundsAsItsShownText)
{
    const NumberText numbers(',');
    // Held as 223,694999..., shown as "223,695".
    EXPECT_EQ(numbers.fixed2(1242.75 * 0.18).str(), "223,70");
    EXPECT_EQ(numbers.fixed2(1.005).str(), "1,01");
    EXPECT_EQ(numbers.fixed2(2.675).str(), "2,68");
    // 0,49999999999999994 shows as "0,5".
    EXPECT_EQ(numbers.whole(0.49999999999999994).str(), "1");
    EXPECT_EQ(numbers.whole(-2.5).str(), "-3");
    EXPECT_EQ(numbers.whole(1234.5 - 1000.2 - 234.3).str(), "0");
    EXPECT_EQ(numbers.fixed2(-1e-20).str(), "0,00");
}

TEST(Rounding, HugeValueWritesAllItsDigits)
{
    const NumberText numbers(',');
    const std::string digits = "1" + std::string(300, '0');
    EXPECT_EQ(numbers.whole("1E300"), digits);
    EXPECT_EQ(numbers.fixed2("1E300"), digits + ",00");
    EXPECT_EQ(numbers.whole(1e300).str(), digits);
    const std::string largest = numbers.whole(std::numeric_limits<double>::max()).str();
    EXPECT_EQ(largest.size(), 309u);
    EXPECT_EQ(largest.substr(0, 15), "179769313486232");
}

// Every text the program writes into a number field reads back as a number,
// at both ends of the range of doubles.
TEST(RangeEnds, TextsOfTheLargestAndSmallestDoublesReadBack)
{
    const NumberText numbers(',');
    const double largest = std::numeric_limits<double>::max();
    const double values[] = {largest,
                             -largest,
                             std::nextafter(largest, 0.0),
                             1.797693134862315e308,
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::denorm_min()};
    for (const double value : values) {
        SCOPED_TRACE(value);
        const std::string general = numbers.general(value).str();
        const auto back = numbers.parse(general);
        ASSERT_TRUE(back.has_value()) << general;
        // Within half a unit of the 15th significant digit.
        EXPECT_LE(std::fabs(*back - value), std::fabs(value) * 5e-15) << general;
        for (const std::string& rounded : {numbers.whole(value).str(), numbers.fixed2(value).str(),
                                           numbers.whole(general), numbers.fixed2(general)}) {
            EXPECT_TRUE(numbers.parse(rounded).has_value()) << rounded.substr(0, 20);
        }
    }
    EXPECT_EQ(numbers.general(largest).str(), "1,79769313486232E+308");
    EXPECT_EQ(numbers.parse("1,79769313486232E+308"), largest);
    EXPECT_EQ(numbers.parse("-0,179769313486232E309"), -largest);
    EXPECT_EQ(numbers.parse("179769313486232" + std::string(294, '0')), largest);
}

TEST(RangeEnds, TextsBeyondTheLargestWrittenTextAreRefused)
{
    const NumberText numbers(',');
    for (const std::string& text : std::initializer_list<std::string>{
             "1,797693134862321E+308", "1,79769313486233E+308", "1,8E+308", "1E309", "-1E309",
             "179769313486232" + std::string(293, '0') + "1", "1E999999999",
             "1,79769313486232E+3080"}) {
        EXPECT_FALSE(numbers.parse(text).has_value()) << text.substr(0, 24);
    }
    // Too small to be told from zero is refused too.
    EXPECT_FALSE(numbers.parse("2E-324").has_value());
    EXPECT_EQ(numbers.parse("4,94065645841247E-324"), std::numeric_limits<double>::denorm_min());
}

TEST(Rounding, PeriodLocaleUsesPeriodAndRefusesComma)
{
    const NumberText numbers('.');
    EXPECT_EQ(numbers.fixed2("722.3"), "722.30");
    EXPECT_EQ(numbers.fixed2("620"), "620.00");
    EXPECT_EQ(numbers.whole("0.5"), "1");
    EXPECT_EQ(numbers.whole("722,3"), "722,3");
}

} // namespace
} // namespace kaldora::billing
