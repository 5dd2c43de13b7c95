#include "batch/csvreader.h"
#include "batch/csvwriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kaldora::batch {
namespace {

using Status = CsvReader::Status;

struct Item {
    Status status;
    long line;
    std::vector<std::string> fields;

    bool operator==(const Item&) const = default;
};

void PrintTo(const Item& item, std::ostream* os)
{
    *os << "{status " << static_cast<int>(item.status) << ", line " << item.line << ",";
    for (const auto& f : item.fields) {
        *os << " [" << f << "]";
    }
    *os << "}";
}

// Every record up to the end, good or bad, with the fields of the good ones.
std::vector<Item> readAll(std::string text)
{
    CsvReader reader(std::move(text));
    std::vector<Item> items;
    for (;;) {
        const Status s = reader.next();
        if (s == Status::End) {
            return items;
        }
        Item item{s, reader.line(), {}};
        if (s == Status::Record) {
            item.fields.assign(reader.fields().begin(), reader.fields().end());
        }
        items.push_back(item);
    }
}

struct ReaderCase {
    const char* name;
    std::string text;
    std::vector<Item> expected;
};

class CsvReaderTest : public testing::TestWithParam<ReaderCase> {};

TEST_P(CsvReaderTest, SplitsRecordsAndCountsLines)
{
    EXPECT_EQ(readAll(GetParam().text), GetParam().expected);
}

constexpr Status R = Status::Record;

INSTANTIATE_TEST_SUITE_P(
    Records, CsvReaderTest,
    testing::Values(
        ReaderCase{"Lf", "a;b\nc;d\n", {{R, 1, {"a", "b"}}, {R, 2, {"c", "d"}}}},
        ReaderCase{"CrLf", "a;b\r\nc;d\r\n", {{R, 1, {"a", "b"}}, {R, 2, {"c", "d"}}}},
        ReaderCase{"LoneCr", "a;b\rc;d", {{R, 1, {"a", "b"}}, {R, 2, {"c", "d"}}}},
        ReaderCase{"NoFinalLineEnd", "a;b\nc;d", {{R, 1, {"a", "b"}}, {R, 2, {"c", "d"}}}},
        ReaderCase{"ByteOrderMark",
                   "\xEF\xBB\xBF"
                   "a;b\n",
                   {{R, 1, {"a", "b"}}}},
        ReaderCase{"OnlyByteOrderMark", "\xEF\xBB\xBF", {}},
        ReaderCase{"ByteOrderMarkLaterIsData",
                   "a\n\xEF\xBB\xBF"
                   "b\n",
                   {{R, 1, {"a"}},
                    {R,
                     2,
                     {"\xEF\xBB\xBF"
                      "b"}}}},
        ReaderCase{"EmptyFields", ";;\na;\n", {{R, 1, {"", "", ""}}, {R, 2, {"a", ""}}}},
        ReaderCase{"BlankLinesSkipped", "a\n\n\r\nb\n\n", {{R, 1, {"a"}}, {R, 4, {"b"}}}},
        ReaderCase{"QuotedSeparator", "\"x;y\";b\n", {{R, 1, {"x;y", "b"}}}},
        ReaderCase{"DoubledQuote", "\"say \"\"hi\"\"\";\"\"\"\"\n", {{R, 1, {"say \"hi\"", "\""}}}},
        ReaderCase{"QuotedEmpty", "\"\";x\n", {{R, 1, {"", "x"}}}},
        ReaderCase{"QuoteInsideUnquotedField", "ab\"c;d\n", {{R, 1, {"ab\"c", "d"}}}},
        ReaderCase{"LineEndsInsideQuotes",
                   "h\n\"two\nlines\";x\n\"c\r\nr\";y\nnext\n",
                   {{R, 1, {"h"}},
                    {R, 2, {"two\nlines", "x"}},
                    {R, 4, {"c\r\nr", "y"}},
                    {R, 6, {"next"}}}},
        ReaderCase{"UnterminatedQuoteUsesUpTheText",
                   "a\n\"abc;d\ne;f\n",
                   {{R, 1, {"a"}}, {Status::UnterminatedQuote, 2, {}}}},
        ReaderCase{"TextAfterQuoteSkipsOnlyItsLine",
                   "\"a\"b;c\nd;e\n\"x\" ;y",
                   {{Status::TextAfterQuote, 1, {}},
                    {R, 2, {"d", "e"}},
                    {Status::TextAfterQuote, 3, {}}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriterCase {
    const char* name;
    std::vector<std::string> fields;
    std::string expected;
};

class CsvWriterTest : public testing::TestWithParam<WriterCase> {};

TEST_P(CsvWriterTest, QuotesOnlyWhatNeedsIt)
{
    std::ostringstream out;
    CsvWriter writer(out);
    for (const auto& f : GetParam().fields) {
        writer.field(f);
    }
    writer.endRecord();
    ASSERT_TRUE(writer.flush());
    EXPECT_EQ(out.str(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CsvWriterTest,
    testing::Values(WriterCase{"Plain", {"1242,75", "", "x y"}, "1242,75;;x y\n"},
                    WriterCase{"Separator", {"a;b", "c"}, "\"a;b\";c\n"},
                    WriterCase{"Quote", {"say \"hi\""}, "\"say \"\"hi\"\"\"\n"},
                    WriterCase{"LineEnds", {"a\nb", "c\rd"}, "\"a\nb\";\"c\rd\"\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvWriter, WhatItWritesReadsBackUnchanged)
{
    const std::vector<std::string> fields = {"a;b", "\"", "", "x\r\ny", "plain", "\"\";"};
    std::ostringstream out;
    {
        CsvWriter writer(out);
        // Enough records to pass the buffer's threshold several times.
        for (int i = 0; i < 20000; ++i) {
            for (const auto& f : fields) {
                writer.field(f);
            }
            writer.endRecord();
        }
        ASSERT_TRUE(writer.flush());
    }
    CsvReader reader(out.str());
    int records = 0;
    while (reader.next() == Status::Record) {
        ASSERT_EQ(std::vector<std::string>(reader.fields().begin(), reader.fields().end()), fields);
        ++records;
    }
    EXPECT_EQ(records, 20000);
}

TEST(CsvWriter, ReportsAFailedStream)
{
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    CsvWriter writer(out);
    writer.field("x");
    writer.endRecord();
    EXPECT_FALSE(writer.flush());
}

} // namespace
} // namespace kaldora::batch
