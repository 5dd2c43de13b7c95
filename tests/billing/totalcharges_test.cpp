#include "billfixture.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace kaldora::billing::test {
namespace {

constexpr RowFields kBillFields = {Field::Text23, Field::Text24, Field::Text25,
                                   Field::Text26, Field::Text27, Field::Text28};

struct PricedCase {
    const char* name;
    const char* vt;
    const char* mt;
    Texts6 amounts;
    Texts6 bill; // Text23..Text28
};

void PrintTo(const PricedCase& c, std::ostream* os)
{
    *os << c.name;
}

class PricedBill : public BillFixture, public ::testing::TestWithParam<PricedCase> {};

TEST_P(PricedBill, AmountsChargesVatAndTotals)
{
    bill(GetParam().vt, GetParam().mt);
    EXPECT_EQ(texts(m_sheet, kAmountFields), GetParam().amounts);
    EXPECT_EQ(texts(m_sheet, kBillFields), GetParam().bill);
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(m_obracun.values().iznosi[row], *m_numbers.parse(GetParam().amounts[row]));
    }
    EXPECT_TRUE(m_notice.shown().empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Examples, PricedBill, ::testing::Values(
    PricedCase{"Quantities200And100", "200", "100",
               {"620,00", "155,00", "0,00", "0,00", "0,00", "0,00"},
               {"775", "119,07", "348,68", "1242,75", "223,70", "1466,45"}},
    PricedCase{"Quantities233To83", "400", "200",
               {"722,30", "181,35", "776,55", "193,39", "0,00", "0,00"},
               {"1873,59", "119,07", "348,68", "2341,34", "421,44", "2762,78"}},
    PricedCase{"Quantities280To230", "1200", "300",
               {"868,00", "108,50", "4278,00", "535,90", "0,00", "0,00"},
               {"5790,4", "119,07", "348,68", "6258,15", "1126,47", "7384,62"}},
    PricedCase{"Quantities262To100", "1500", "500",
               {"812,20", "134,85", "4357,05", "726,96", "2790,00", "465,00"},
               {"9286,06", "119,07", "348,68", "9753,81", "1755,69", "11509,5"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

class PeriodLocaleBill : public BillFixture, public ::testing::Test {
protected:
    PeriodLocaleBill()
        : BillFixture('.')
    {
    }
};

TEST_F(PeriodLocaleBill, WritesPeriodDecimals)
{
    setReadings(m_sheet, "1200.0", "500", "1000.0", "400");
    m_obracun.run();
    EXPECT_TRUE(m_notice.shown().empty());
    EXPECT_EQ(m_sheet.text(Field::Text29), "200");
    EXPECT_EQ(texts(m_sheet, kAmountFields),
              (Texts6{"620.00", "155.00", "0.00", "0.00", "0.00", "0.00"}));
    EXPECT_EQ(texts(m_sheet, kBillFields),
              (Texts6{"775", "119.07", "348.68", "1242.75", "223.70", "1466.45"}));

    bill("1234,5", "500");
    EXPECT_EQ(m_notice.shown().size(), 1u);
}

class LineReaction : public BillFixture, public ::testing::Test {};

TEST_F(LineReaction, TypedQuantityRepricesOnlyItsLine)
{
    bill("200", "100");
    const auto before = snapshot(m_sheet);
    m_sheet.setText(Field::Text3, "250");
    EXPECT_EQ(m_sheet.text(Field::Text17), "775");
    auto expected = before;
    expected[fieldIndex(Field::Text3)] = "250";
    expected[fieldIndex(Field::Text17)] = "775";
    EXPECT_EQ(snapshot(m_sheet), expected);

    m_sheet.setText(Field::Text3, "233,5");
    EXPECT_EQ(m_sheet.text(Field::Text17), "723,85");
}

// The quantity is the same text on the second run; the line still follows
// the new price because every write reprices.
TEST_F(LineReaction, ChangedPriceWaitsForTheNextRun)
{
    bill("200", "100");
    m_sheet.setText(Field::Text11, "4");
    EXPECT_EQ(m_sheet.text(Field::Text17), "620,00");
    bill("200", "100");
    EXPECT_EQ(m_sheet.text(Field::Text3), "200");
    EXPECT_EQ(m_sheet.text(Field::Text17), "800,00");
    EXPECT_EQ(m_sheet.text(Field::Text23), "955");
}

TEST_F(LineReaction, TypedFixedChargesAreNotReadAndComeBack)
{
    bill("200", "100");
    const auto before = snapshot(m_sheet);
    m_sheet.setText(Field::Text24, "1");
    m_sheet.setText(Field::Text25, "abc");
    EXPECT_EQ(m_sheet.text(Field::Text26), before[fieldIndex(Field::Text26)]);
    bill("200", "100");
    EXPECT_EQ(snapshot(m_sheet), before);
}

TEST_F(LineReaction, BadQuantityOrPriceLeavesTheAmount)
{
    bill("200", "100");
    struct Case {
        const char* quantity;
        const char* price;
    };
    for (const Case& c : {Case{"abc", "3,10"}, Case{"", "3,10"}, Case{"250", ""}, Case{"250", "x"},
                          Case{"1E300", "1E10"}, Case{"1.5", "3,10"}}) {
        SCOPED_TRACE(std::string(c.quantity) + " x " + c.price);
        m_sheet.setText(Field::Text11, c.price);
        m_sheet.setText(Field::Text3, c.quantity);
        EXPECT_EQ(m_sheet.text(Field::Text17), "620,00");
    }
}

TEST_F(LineReaction, EndsWithTheCommand)
{
    MemorySheet sheet;
    {
        Obracun scoped(sheet, m_numbers, m_notice);
        setPrices(sheet, kCommaPrices);
        sheet.setText(Field::Text3, "10");
        EXPECT_EQ(sheet.text(Field::Text17), "31");
    }
    sheet.setText(Field::Text3, "20");
    EXPECT_EQ(sheet.text(Field::Text17), "31");
}

class FailedStep : public BillFixture, public ::testing::Test {};

// Zone 2 V.T. cannot be priced: its amount keeps the text of the last run,
// which is read back and billed again. Nothing is said.
TEST_F(FailedStep, EmptyPriceKeepsTheLastRunsAmount)
{
    bill("400", "200");
    m_sheet.setText(Field::Text13, "");
    bill("1200", "300");
    EXPECT_EQ(m_sheet.text(Field::Text7), "920");
    EXPECT_EQ(texts(m_sheet, kAmountFields),
              (Texts6{"868,00", "108,50", "776,55", "535,90", "0,00", "0,00"}));
    EXPECT_EQ(m_sheet.text(Field::Text23), "2288,95");
    EXPECT_TRUE(m_notice.shown().empty());
}

// An amount that does not read back keeps the previous run's entry of the
// line amounts, and that entry is added into the energy amount.
TEST_F(FailedStep, UnreadableAmountAddsThePreviousEntry)
{
    bill("400", "200");
    m_sheet.setText(Field::Text14, "");
    m_sheet.setText(Field::Text20, "x");
    bill("1200", "300");
    EXPECT_EQ(m_sheet.text(Field::Text20), "x");
    EXPECT_EQ(m_obracun.values().iznosi[3], 193.39);
    EXPECT_EQ(m_sheet.text(Field::Text23), "5447,89");
    EXPECT_EQ(m_sheet.text(Field::Text28), "6980,46");
}

TEST_F(FailedStep, UnreadableAmountOnTheFirstRunAddsZero)
{
    m_sheet.setText(Field::Text14, "");
    bill("1200", "300");
    EXPECT_EQ(m_sheet.text(Field::Text20), "");
    EXPECT_EQ(m_obracun.values().iznosi[3], 0);
    EXPECT_EQ(m_sheet.text(Field::Text23), "5254,5");
}

// Two huge prices make line amounts that each fit in a double but whose sum
// does not: the energy amount and the totals keep the previous run's values.
TEST_F(FailedStep, OverflowingSumKeepsThePreviousTotals)
{
    bill("200", "100");
    m_sheet.setText(Field::Text11, "8E305");
    m_sheet.setText(Field::Text12, "1,5E306");
    bill("200", "100");
    EXPECT_EQ(m_sheet.text(Field::Text17), "16" + std::string(307, '0') + ",00");
    EXPECT_EQ(m_sheet.text(Field::Text18), "15" + std::string(307, '0') + ",00");
    EXPECT_EQ(texts(m_sheet, kBillFields),
              (Texts6{"775", "119,07", "348,68", "1242,75", "223,70", "1466,45"}));
    EXPECT_EQ(m_obracun.values().energija, 775);
}

} // namespace
} // namespace kaldora::billing::test
