#include "batch/checkedprices.h"
#include "batch/commandline.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kaldora::batch {
namespace {

struct ArgsCase {
    const char* name;
    std::vector<std::string_view> args;
    bool help;
    std::optional<std::string> prices;
    std::string inputPath;
    std::optional<std::string> priceListPath = std::nullopt;
};

class CommandLineGood : public testing::TestWithParam<ArgsCase> {};

TEST_P(CommandLineGood, SortsTheArguments)
{
    const ArgsCase& c = GetParam();
    std::string error;
    const auto command = CommandLine::parse(c.args, error);
    ASSERT_TRUE(command.has_value()) << error;
    EXPECT_EQ(command->help, c.help);
    EXPECT_EQ(command->prices, c.prices);
    EXPECT_EQ(command->inputPath, c.inputPath);
    EXPECT_EQ(command->priceListPath, c.priceListPath);
}

INSTANTIATE_TEST_SUITE_P(
    Args, CommandLineGood,
    testing::Values(
        ArgsCase{"Nothing", {}, false, std::nullopt, ""},
        ArgsCase{"Help", {"--help"}, true, std::nullopt, ""},
        ArgsCase{"ShortHelp", {"-h"}, true, std::nullopt, ""},
        ArgsCase{
            "PricesThenFile", {"--cene", "1;2;3;4;5;6", "r.csv"}, false, "1;2;3;4;5;6", "r.csv"},
        ArgsCase{"FileThenPrices", {"r.csv", "--cene", "1;2"}, false, "1;2", "r.csv"},
        ArgsCase{"PricesWithEquals", {"--cene=3,10;1,55", "-"}, false, "3,10;1,55", "-"},
        ArgsCase{"PricesLookLikeAnOption", {"--cene", "-1;2;3;4;5;6"}, false, "-1;2;3;4;5;6", ""},
        ArgsCase{"EndOfOptions", {"--cene", "1", "--", "-racuni.csv"}, false, "1", "-racuni.csv"},
        ArgsCase{
            "PriceListFile", {"--cenovnik", "c.db", "r.csv"}, false, std::nullopt, "r.csv", "c.db"},
        ArgsCase{
            "PriceListWithEquals", {"--cenovnik=/x/c.db"}, false, std::nullopt, "", "/x/c.db"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadArgsCase {
    const char* name;
    std::vector<std::string_view> args;
    const char* mentions;
};

class CommandLineBad : public testing::TestWithParam<BadArgsCase> {};

TEST_P(CommandLineBad, IsAUsageError)
{
    std::string error;
    EXPECT_FALSE(CommandLine::parse(GetParam().args, error).has_value());
    EXPECT_NE(error.find(GetParam().mentions), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Args, CommandLineBad,
    testing::Values(
        BadArgsCase{"UnknownOption", {"--cena", "1"}, "--cena"},
        BadArgsCase{"UnknownShortOption", {"-x", "r.csv"}, "-x"},
        BadArgsCase{"PricesWithoutValue", {"r.csv", "--cene"}, "--cene"},
        BadArgsCase{"PricesTwice", {"--cene", "1", "--cene=2"}, "--cene"},
        BadArgsCase{"TwoFiles", {"a.csv", "b.csv"}, "b.csv"},
        BadArgsCase{"PriceListWithoutValue", {"--cenovnik"}, "--cenovnik"},
        BadArgsCase{"PriceListTwice", {"--cenovnik=a", "--cenovnik", "b"}, "--cenovnik"},
        BadArgsCase{"PricesAndPriceList", {"--cene", "1", "--cenovnik", "a"}, "--cenovnik"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, HelpNamesEveryColumnAndExitCode)
{
    const std::string_view help = CommandLine::helpText();
    for (const char* word :
         {"--cene", "novo_vt", "novo_mt", "staro_vt", "staro_mt", "prethodni_datum", "id",
          "potrosnja_vt", "iznos3_mt", "sa_pdv", "greska", "  0  ", "  1  ", "  2  "}) {
        EXPECT_NE(help.find(word), std::string_view::npos) << word;
    }
    // The separator's source as the user's system has it: Windows has no
    // locale variables.
#ifdef _WIN32
    EXPECT_NE(help.find("regionalnih podesavanja sistema"), std::string_view::npos);
    EXPECT_EQ(help.find("LC_ALL"), std::string_view::npos);
#else
    EXPECT_NE(help.find("(LC_ALL, LC_NUMERIC, LANG)"), std::string_view::npos);
#endif
}

struct PriceCase {
    const char* name;
    std::string list;
    char separator;
    const char* error; // nullptr when the list is good
};

class PriceList : public testing::TestWithParam<PriceCase> {};

TEST_P(PriceList, AcceptsSixNumbersOfTheLocale)
{
    const PriceCase& c = GetParam();
    const billing::NumberText numbers(c.separator);
    std::string error;
    const auto prices = CheckedPrices::fromList(c.list, numbers, error);
    if (c.error == nullptr) {
        ASSERT_TRUE(prices.has_value()) << error;
    } else {
        EXPECT_FALSE(prices.has_value());
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PriceList,
    testing::Values(PriceCase{"Comma", "3,10;1,55;4,65;2,33;9,30;4,65", ',', nullptr},
                    PriceCase{"Period", "3.10;1.55;4.65;2.33;9.30;4.65", '.', nullptr},
                    PriceCase{"WholeNumbers", "3;1;4;2;9;4", ',', nullptr},
                    PriceCase{"Five", "3,10;1,55;4,65;2,33;9,30", ',', "ima ih 5"},
                    PriceCase{"Seven", "3,10;1,55;4,65;2,33;9,30;4,65;1", ',', "ima ih 7"},
                    PriceCase{"TrailingSeparator", "1;2;3;4;5;6;", ',', "ima ih 7"},
                    PriceCase{"Empty", "", ',', "ima ih 1"},
                    PriceCase{"EmptyPrice", "1;2;;4;5;6", ',', "cena 3"},
                    PriceCase{"NotANumber", "1;2;3;4;5;x", ',', "cena 6 (CRVENA ZONA M.T.) \"x\""},
                    PriceCase{"PeriodInCommaLocale", "3.10;1;1;1;1;1", ',', "cena 1"},
                    PriceCase{"CommaInPeriodLocale", "3;1;1;1;9,30;1", '.', "cena 5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PriceList, KeepsTheTextsAsGiven)
{
    const billing::NumberText numbers(',');
    std::string error;
    const auto prices =
        CheckedPrices::fromList("3,10;1,550; 4,65;2,33;9,3;0004,65", numbers, error);
    ASSERT_TRUE(prices.has_value()) << error;
    const char* expected[] = {"3,10", "1,550", " 4,65", "2,33", "9,3", "0004,65"};
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        EXPECT_EQ((*prices)[row], expected[row]);
    }
}

} // namespace
} // namespace kaldora::batch
