#include "billfixture.h"
#include "recordingsheet.h"

#include <gtest/gtest.h>

namespace kaldora::billing::test {
namespace {

struct ZoneCase {
    const char* name;
    const char* vt;
    const char* mt;
    int days;
    Texts6 beforeRounding;
    Texts6 rounded;
};

void PrintTo(const ZoneCase& c, std::ostream* os)
{
    *os << c.name;
}

class Zones : public ::testing::TestWithParam<ZoneCase> {
protected:
    Zones()
        : m_obracun(m_sheet, m_numbers, m_notice)
    {
        setPrices(m_sheet, kCommaPrices);
        setPeriod(m_sheet, GetParam().days);
        setReadings(m_sheet, GetParam().vt, GetParam().mt, "0", "0");
    }

    RecordingSheet m_sheet;
    NumberText m_numbers{','};
    tests::RecordingMessageBox m_notice;
    Obracun m_obracun;
};

// Each quantity field is written twice, first as computed and then rounded.
TEST_P(Zones, QuantitiesAreWrittenThenRounded)
{
    m_obracun.run();
    for (int row = 0; row < 6; ++row) {
        const Field f = kQuantityFields[row];
        const std::vector<std::string> expected = {GetParam().beforeRounding[row],
                                                   GetParam().rounded[row]};
        EXPECT_EQ(m_sheet.writesTo(f), expected) << fieldName(f);
    }
    EXPECT_TRUE(m_notice.shown().empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Periods, Zones, ::testing::Values(
    ZoneCase{"BelowZone1", "200", "100", 30,
             {"200", "100", "0", "0", "0", "0"}, {"200", "100", "0", "0", "0", "0"}},
    ZoneCase{"InZone2", "400", "200", 30,
             {"233,2", "116,6", "166,8", "83,4", "0", "0"}, {"233", "117", "167", "83", "0", "0"}},
    ZoneCase{"BetweenFullZone2AndEndOfZone2", "1200", "300", 30,
             {"279,84", "69,96", "920,16", "230,04", "0", "0"},
             {"280", "70", "920", "230", "0", "0"}},
    ZoneCase{"InZone3", "1500", "500", 30,
             {"262,35", "87,45", "937,35", "312,45", "300,3", "100,1"},
             {"262", "87", "937", "312", "300", "100"}},
    ZoneCase{"HalfKwhRoundsUp", "0,5", "0", 30,
             {"0,5", "0", "0", "0", "0", "0"}, {"1", "0", "0", "0", "0", "0"}},
    ZoneCase{"ZeroDaysPutsAllInZone3", "10", "5", 0,
             {"0", "0", "0", "0", "10", "5"}, {"0", "0", "0", "0", "10", "5"}},
    ZoneCase{"NegativeDaysGiveNegativeZones", "400", "200", -30,
             {"-233,2", "-116,6", "-833,2", "-416,6", "1466,4", "733,2"},
             {"-233", "-117", "-833", "-417", "1466", "733"}},
    ZoneCase{"NoConsumption", "0", "0", 30,
             {"0", "0", "0", "0", "0", "0"}, {"0", "0", "0", "0", "0", "0"}},
    // Shares that are not round numbers show the order of evaluation in the
    // last digits: share x limit / 100 x days, and zone 3 as
    // (consumption - zone 2) - zone 1.
    ZoneCase{"FifteenDigitRemainders", "628", "987", 30,
             {"136,021300309598", "213,778699690402", "485,990340557276", "763,809659442724",
              "5,98835913312601", "9,41164086687405"},
             {"136", "214", "486", "764", "6", "9"}},
    // A total of exactly 0 on limits of exactly 0 fills no zone.
    ZoneCase{"ZeroTotalOnZeroLimits", "5", "-5", 0,
             {"5", "-5", "0", "0", "0", "0"}, {"5", "-5", "0", "0", "0", "0"}},
    // 53,33 x 100 days is exactly 5333 kWh: on the limit zone 2 is not full;
    // one kWh more and the 41,66-wide zone 2 leaves 2 kWh for zone 3.
    ZoneCase{"OnEndOfZone2", "5333", "0", 100,
             {"1166", "0", "4167", "0", "0", "0"}, {"1166", "0", "4167", "0", "0", "0"}},
    ZoneCase{"PastEndOfZone2", "5334", "0", 100,
             {"1166", "0", "4166", "0", "2", "0"}, {"1166", "0", "4166", "0", "2", "0"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Every write of a quantity reprices its line before the next write: the
// amount field is written right after its quantity, from the new text.
TEST(ZoneTrace, EachQuantityWriteIsFollowedByItsLineAmount)
{
    RecordingSheet sheet;
    NumberText numbers(',');
    tests::RecordingMessageBox notice;
    Obracun obracun(sheet, numbers, notice);
    setPrices(sheet, kCommaPrices);
    setPeriod(sheet, 30);
    setReadings(sheet, "400", "200", "0", "0");
    ASSERT_TRUE(obracun.readInputs());
    sheet.forgetWrites();
    obracun.allocateZones();

    const std::vector<RecordingSheet::Write> expected = {
        {Field::Text3, "233,2"},   {Field::Text17, "722,92"},  {Field::Text6, "116,6"},
        {Field::Text18, "180,73"}, {Field::Text7, "166,8"},    {Field::Text19, "775,62"},
        {Field::Text8, "83,4"},    {Field::Text20, "194,322"}, {Field::Text9, "0"},
        {Field::Text21, "0"},      {Field::Text10, "0"},       {Field::Text22, "0"},
        {Field::Text3, "233"},     {Field::Text17, "722,3"},   {Field::Text6, "117"},
        {Field::Text18, "181,35"}, {Field::Text7, "167"},      {Field::Text19, "776,55"},
        {Field::Text8, "83"},      {Field::Text20, "193,39"},  {Field::Text9, "0"},
        {Field::Text21, "0"},      {Field::Text10, "0"},       {Field::Text22, "0"},
    };
    EXPECT_EQ(sheet.writes(), expected);
}

// 1234,5 - 1000,2 is held just below 234,3 but written as "234,3"; zone 2
// takes the held value minus the written text, a tiny negative number, and
// the rounding makes it a plain 0 without a minus sign.
TEST(ZoneTrace, TinyNegativeRemainderRoundsToZero)
{
    RecordingSheet sheet;
    NumberText numbers(',');
    tests::RecordingMessageBox notice;
    Obracun obracun(sheet, numbers, notice);
    setPrices(sheet, kCommaPrices);
    setPeriod(sheet, 30);
    setReadings(sheet, "1234,5", "500", "1000,2", "400");
    obracun.run();

    EXPECT_EQ(sheet.writesTo(Field::Text3), (std::vector<std::string>{"234,3", "234"}));
    const std::vector<std::string> zone2 = sheet.writesTo(Field::Text7);
    ASSERT_EQ(zone2.size(), 2u);
    const auto remainder = numbers.parse(zone2[0]);
    ASSERT_TRUE(remainder.has_value()) << zone2[0];
    EXPECT_LT(*remainder, 0);
    EXPECT_GT(*remainder, -1e-13);
    EXPECT_EQ(zone2[1], "0");
    EXPECT_EQ(sheet.text(Field::Text19), "0,00");
    EXPECT_EQ(sheet.text(Field::Text8), "0");

    // With 1000 as the old reading the difference is exact: no remainder.
    setReadings(sheet, "1234,5", "500", "1000", "400");
    sheet.forgetWrites();
    obracun.run();
    EXPECT_EQ(sheet.writesTo(Field::Text7), (std::vector<std::string>{"0", "0"}));
    EXPECT_EQ(sheet.text(Field::Text3), "235");
}

class ZoneSequence : public BillFixture, public ::testing::Test {};

TEST_F(ZoneSequence, BillBelowZone3AfterOneInZone3ClearsZone3)
{
    bill("1500", "500");
    ASSERT_EQ(m_sheet.text(Field::Text21), "2790,00");
    bill("200", "100");
    EXPECT_EQ(m_sheet.text(Field::Text9), "0");
    EXPECT_EQ(m_sheet.text(Field::Text10), "0");
    EXPECT_EQ(m_sheet.text(Field::Text21), "0,00");
    EXPECT_EQ(m_sheet.text(Field::Text22), "0,00");
    EXPECT_EQ(m_obracun.values().iznosi[4], 0);
    EXPECT_EQ(m_sheet.text(Field::Text23), "775");
}

} // namespace
} // namespace kaldora::billing::test
