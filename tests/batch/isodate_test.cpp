#include "batch/isodate.h"

#include <gtest/gtest.h>

#include <string>

namespace kaldora::batch {
namespace {

using namespace std::chrono;

struct GoodDate {
    const char* text;
    year_month_day expected;
};

class IsoDateGood : public testing::TestWithParam<GoodDate> {};

TEST_P(IsoDateGood, ReadsTheDay)
{
    const auto date = parseIsoDate(GetParam().text);
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(year_month_day(*date), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Dates, IsoDateGood,
                         testing::Values(GoodDate{"2024-03-31", 2024y / March / 31d},
                                         GoodDate{"2024-02-29", 2024y / February / 29d},
                                         GoodDate{"2000-02-29", 2000y / February / 29d},
                                         GoodDate{"1999-12-31", 1999y / December / 31d},
                                         GoodDate{"0001-01-01", 1y / January / 1d}));

class IsoDateBad : public testing::TestWithParam<std::string> {};

TEST_P(IsoDateBad, IsRefused)
{
    EXPECT_FALSE(parseIsoDate(GetParam()).has_value());
}

INSTANTIATE_TEST_SUITE_P(Texts, IsoDateBad,
                         testing::Values("", "2024-02-30", "2023-02-29", "1900-02-29", "2024-04-31",
                                         "2024-13-01", "2024-00-10", "2024-01-00", "31.03.2024",
                                         "2024/03/31", "2024-3-31", "24-03-31", " 2024-03-31",
                                         "2024-03-31 ", "2024-03-31T00:00", "2024-0a-31",
                                         "+024-03-31", "2024--3-31"));

} // namespace
} // namespace kaldora::batch
