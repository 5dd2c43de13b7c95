#include "billfixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace kaldora::billing::test {
namespace {

using Readings = std::array<std::string, 4>;
constexpr Field kReadingFields[4] = {Field::Text1, Field::Text2, Field::Text4, Field::Text5};

Readings readingTexts(const BillSheet& sheet)
{
    Readings out;
    for (int i = 0; i < 4; ++i) {
        out[i] = sheet.text(kReadingFields[i]);
    }
    return out;
}

bool mentionsNonFinite(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find("inf") != std::string::npos || text.find("nan") != std::string::npos;
}

struct InputCheckCase {
    const char* name;
    Readings typed;
    Readings after;
};

void PrintTo(const InputCheckCase& c, std::ostream* os)
{
    *os << c.name;
}

class InputCheck : public BillFixture, public ::testing::TestWithParam<InputCheckCase> {};

TEST_P(InputCheck, ShowsOneMessageAndTouchesOnlyEmptyReadings)
{
    setReadings(m_sheet, "1400", "600", "1000", "400");
    m_obracun.run();
    ASSERT_TRUE(m_notice.shown().empty());
    const WorkingValues before = m_obracun.values();

    const Readings& typed = GetParam().typed;
    setReadings(m_sheet, typed[0], typed[1], typed[2], typed[3]);
    auto expected = snapshot(m_sheet);
    for (int i = 0; i < 4; ++i) {
        expected[fieldIndex(kReadingFields[i])] = GetParam().after[i];
    }

    m_obracun.run();

    ASSERT_EQ(m_notice.shown().size(), 1u);
    EXPECT_EQ(m_notice.shown()[0].text, "NISTE UPISALI BROJ ILI PODATAK NIJE NUMERICKI!!!");
    EXPECT_EQ(m_notice.shown()[0].caption, "GRESKA");
    EXPECT_EQ(m_sheet.focused(), Field::Text1);
    EXPECT_EQ(snapshot(m_sheet), expected);
    EXPECT_EQ(readingTexts(m_sheet), GetParam().after);
    EXPECT_EQ(m_obracun.values().utrosakvt, before.utrosakvt);
    EXPECT_EQ(m_obracun.values().ukupno, before.ukupno);
    EXPECT_EQ(m_obracun.values().procvt, before.procvt);
    EXPECT_EQ(m_obracun.values().sapdv, before.sapdv);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Readings, InputCheck, ::testing::Values(
    InputCheckCase{"NewVtEmpty", {"", "500", "1000", "400"}, {"0", "500", "1000", "400"}},
    InputCheckCase{"OldMtEmpty", {"1234,5", "500", "1000", ""}, {"1234,5", "500", "1000", "0"}},
    InputCheckCase{"AllEmpty", {"", "", "", ""}, {"0", "0", "0", "0"}},
    InputCheckCase{"EmptyAndText", {"", "x", "1000", ""}, {"0", "x", "1000", "0"}},
    InputCheckCase{"TextKept", {"1234,5", "abc", "1000", "400"}, {"1234,5", "abc", "1000", "400"}},
    InputCheckCase{"BlanksAreNotEmpty", {"1234,5", "500", "   ", "400"},
                   {"1234,5", "500", "   ", "400"}},
    InputCheckCase{"GroupingRefused", {"1.234", "500", "1000", "400"},
                   {"1.234", "500", "1000", "400"}},
    InputCheckCase{"Overflow", {"1E400", "500", "1000", "400"}, {"1E400", "500", "1000", "400"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

class ReadingStage : public BillFixture, public ::testing::Test {};

TEST_F(ReadingStage, ZeroFilledByTheCheckIsUsedByTheNextRun)
{
    setReadings(m_sheet, "", "500", "1000", "400");
    m_obracun.run();
    m_obracun.run();
    EXPECT_EQ(m_notice.shown().size(), 1u);
    EXPECT_EQ(m_sheet.text(Field::Text29), "-1000");
    EXPECT_EQ(m_sheet.text(Field::Text30), "100");
    EXPECT_EQ(m_sheet.text(Field::Text31), "-900");
}

TEST_F(ReadingStage, DecimalReadingsGiveConsumptionTexts)
{
    setReadings(m_sheet, "1234,5", "500", "1000", "400");
    m_obracun.run();
    EXPECT_TRUE(m_notice.shown().empty());
    EXPECT_EQ(m_sheet.text(Field::Text29), "234,5");
    EXPECT_EQ(m_sheet.text(Field::Text30), "100");
    EXPECT_EQ(m_sheet.text(Field::Text31), "334,5");
    EXPECT_EQ(m_sheet.text(Field::Text32), "30");
    EXPECT_EQ(m_obracun.values().novovt, "1234,5");
}

TEST_F(ReadingStage, DaysAreNewDateMinusOldDate)
{
    for (const auto& [days, text] : {std::pair{30, "30"}, {0, "0"}, {-1, "-1"}, {365, "365"}}) {
        setPeriod(m_sheet, days);
        bill("200", "100");
        EXPECT_EQ(m_sheet.text(Field::Text32), text);
        EXPECT_EQ(m_obracun.values().dana, days);
    }
}

TEST_F(ReadingStage, SharesAreInPercent)
{
    bill("300", "100");
    EXPECT_EQ(m_obracun.values().procvt, 75);
    EXPECT_EQ(m_obracun.values().procmt, 25);
}

TEST_F(ReadingStage, EqualReadingsGiveZeroEverywhereWithoutAMessage)
{
    setReadings(m_sheet, "1000", "400", "1000", "400");
    m_obracun.run();
    EXPECT_TRUE(m_notice.shown().empty());
    EXPECT_EQ(m_sheet.text(Field::Text29), "0");
    EXPECT_EQ(m_sheet.text(Field::Text30), "0");
    EXPECT_EQ(m_sheet.text(Field::Text31), "0");
    EXPECT_EQ(texts(m_sheet, kQuantityFields), (Texts6{"0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(m_sheet.text(Field::Text23), "0");
    EXPECT_EQ(m_sheet.text(Field::Text28), "551,95");
}

// Equal readings leave the shares as the last run set them; with the new
// date before the old one every zone counts as full and uses those shares.
TEST_F(ReadingStage, SharesOfThePreviousRunOutliveAFailedDivision)
{
    bill("300", "100");
    setPeriod(m_sheet, -30);
    setReadings(m_sheet, "1000", "400", "1000", "400");
    m_obracun.run();
    EXPECT_EQ(m_obracun.values().procvt, 75);
    EXPECT_EQ(m_obracun.values().procmt, 25);
    EXPECT_EQ(texts(m_sheet, kQuantityFields),
              (Texts6{"-262", "-87", "-937", "-312", "1200", "400"}));

    // A window that never calculated has empty shares, so every zone is 0.
    MemorySheet fresh;
    Obracun first(fresh, m_numbers, m_notice);
    setPrices(fresh, kCommaPrices);
    setPeriod(fresh, -30);
    setReadings(fresh, "1000", "400", "1000", "400");
    first.run();
    EXPECT_EQ(texts(fresh, kQuantityFields), (Texts6{"0", "0", "0", "0", "0", "0"}));
}

TEST_F(ReadingStage, BlanksAndExponentsReadAsTheSameNumbers)
{
    bill("1500", "500");
    const auto plain = snapshot(m_sheet);
    for (const Readings& typed :
         {Readings{" 1500 ", "\t500", "0 ", " 0"}, Readings{"1,5E3", "5e2", "0E0", "+0"},
          Readings{"1500,", "500,0", ",0", "-0"}}) {
        setReadings(m_sheet, typed[0], typed[1], typed[2], typed[3]);
        m_obracun.run();
        auto expected = plain;
        for (int i = 0; i < 4; ++i) {
            expected[fieldIndex(kReadingFields[i])] = typed[i];
        }
        EXPECT_EQ(snapshot(m_sheet), expected) << typed[0];
        EXPECT_EQ(m_obracun.values().novovt, typed[0]);
    }
    EXPECT_TRUE(m_notice.shown().empty());
}

TEST_F(ReadingStage, HugeReadingsAreWrittenInFull)
{
    bill("1E300", "0");
    EXPECT_TRUE(m_notice.shown().empty());
    EXPECT_EQ(m_sheet.text(Field::Text29), "1E+300");
    const std::string text9(m_sheet.text(Field::Text9));
    EXPECT_EQ(text9.size(), 301u);
    EXPECT_EQ(text9.substr(0, 3), "100");
    EXPECT_EQ(m_sheet.text(Field::Text21).substr(0, 3), "930");
    EXPECT_EQ(m_sheet.text(Field::Text23), "9,3E+300");
    EXPECT_EQ(m_sheet.text(Field::Text28), "1,0974E+301");
    for (const std::string& text : snapshot(m_sheet)) {
        EXPECT_FALSE(mentionsNonFinite(text)) << text;
    }
}

// 1E308 still reads, but 100 x 1E308 overflows: the shares keep their old
// values, and 1E308 kWh at 9,30 Din overflows the zone-3 line, whose amount
// stays as it was. Every other step still runs.
TEST_F(ReadingStage, OverflowingStepsAreDroppedOneByOne)
{
    bill("1500", "500");
    ASSERT_EQ(m_sheet.text(Field::Text21), "2790,00");
    bill("1E308", "0");
    EXPECT_TRUE(m_notice.shown().empty());
    EXPECT_EQ(m_sheet.text(Field::Text29), "1E+308");
    EXPECT_EQ(m_obracun.values().procvt, 75);
    EXPECT_EQ(m_obracun.values().procmt, 0);
    EXPECT_EQ(m_sheet.text(Field::Text3), "262");
    EXPECT_EQ(m_sheet.text(Field::Text9), "1" + std::string(308, '0'));
    EXPECT_EQ(m_sheet.text(Field::Text21), "2790,00");
    EXPECT_EQ(m_sheet.text(Field::Text24), "119,07");
    for (const std::string& text : snapshot(m_sheet)) {
        EXPECT_FALSE(mentionsNonFinite(text)) << text;
    }

    // A consumption that overflows keeps the previous consumption.
    setReadings(m_sheet, "1,5E308", "250", "-1,5E308", "50");
    m_obracun.run();
    EXPECT_EQ(m_obracun.values().utrosakvt, 1e308);
    EXPECT_EQ(m_sheet.text(Field::Text29), "1E+308");
    EXPECT_EQ(m_sheet.text(Field::Text30), "200");
    for (const std::string& text : snapshot(m_sheet)) {
        EXPECT_FALSE(mentionsNonFinite(text)) << text;
    }
}

} // namespace
} // namespace kaldora::billing::test
