#include "batch/csvreader.h"
#include "batch/csvwriter.h"
#include "failingsource.h"

#include <gtest/gtest.h>

#include <algorithm>
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
// The fields are copied only at the end, so the views of earlier records
// must have stayed valid while later ones were read.
std::vector<Item> readAll(const std::string& text,
                          std::size_t chunkBytes = CsvReader::kDefaultChunkBytes)
{
    TextSource source(text);
    CsvReader reader(source, chunkBytes);
    std::vector<Item> items;
    std::vector<std::vector<std::string_view>> views;
    for (;;) {
        const Status s = reader.next();
        if (s == Status::End) {
            break;
        }
        items.push_back({s, reader.line(), {}});
        views.push_back(s == Status::Record ? reader.fields() : std::vector<std::string_view>{});
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].fields.assign(views[i].begin(), views[i].end());
    }
    return items;
}

struct ReaderCase {
    const char* name;
    std::string text;
    std::vector<Item> expected;
};

class CsvReaderTest : public testing::TestWithParam<ReaderCase> {};

// The input is read in chunks: small ones put chunk boundaries inside
// fields, quotes, CR LF pairs and the byte order mark.
TEST_P(CsvReaderTest, SplitsRecordsAndCountsLines)
{
    for (const std::size_t chunk : {std::size_t{16}, std::size_t{17}, std::size_t{19},
                                    std::size_t{64}, CsvReader::kDefaultChunkBytes}) {
        SCOPED_TRACE(chunk);
        EXPECT_EQ(readAll(GetParam().text, chunk), GetParam().expected);
    }
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
        ReaderCase{
            "TextAfterQuoteSkipsOnlyItsLine",
            "\"a\"b;c\nd;e\n\"x\" ;y",
            {{Status::TextAfterQuote, 1, {}}, {R, 2, {"d", "e"}}, {Status::TextAfterQuote, 3, {}}}},
        ReaderCase{
            "LongRecordsAcrossChunks",
            "id;" + std::string(40, 'x') + ";\"" + std::string(30, 'y') + "\n" +
                std::string(25, 'z') + "\"\r\nb\n",
            {{R,
              1,
              {"id", std::string(40, 'x'), std::string(30, 'y') + "\n" + std::string(25, 'z')}},
             {R, 3, {"b"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriterCase {
    const char* name;
    std::vector<std::string> fields;
    std::string expected;
};

class CsvWriterTest : public testing::TestWithParam<WriterCase> {};

TEST_P(CsvWriterTest, QuotesOnlyWhatNeedsIt)
{
    TextSink out;
    CsvWriter writer(out);
    for (const auto& f : GetParam().fields) {
        writer.field(f);
    }
    writer.endRecord();
    ASSERT_TRUE(writer.flush());
    EXPECT_EQ(out.text(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CsvWriterTest,
    testing::Values(WriterCase{"Plain", {"1242,75", "", "x y"}, "1242,75;;x y\n"},
                    WriterCase{"Separator", {"a;b", "c"}, "\"a;b\";c\n"},
                    WriterCase{"Quote", {"say \"hi\""}, "\"say \"\"hi\"\"\"\n"},
                    WriterCase{"LineEnds", {"a\nb", "c\rd"}, "\"a\nb\";\"c\rd\"\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Output cut off anywhere: the whole records at its start end at the last
// line end outside quotes, since one inside quotes belongs to a field.
struct WholeRecordsCase {
    const char* name;
    std::string text;
    std::size_t whole;
};

class CsvWholeRecords : public testing::TestWithParam<WholeRecordsCase> {};

TEST_P(CsvWholeRecords, EndAtTheLastRecordEnd)
{
    EXPECT_EQ(CsvWriter::wholeRecordsLength(GetParam().text), GetParam().whole);
}

INSTANTIATE_TEST_SUITE_P(Pieces, CsvWholeRecords,
                         testing::Values(WholeRecordsCase{"TornFirst", "1466,4", 0},
                                         WholeRecordsCase{"TornSecond", "a;b\n1466,4", 4},
                                         WholeRecordsCase{"AllWhole", "a;b\nc;d\n", 8},
                                         WholeRecordsCase{"TornInsideQuotes", "a;b\n\"x\ny", 4},
                                         WholeRecordsCase{"QuotedLineEnd", "\"x\ny\";z\nw", 8},
                                         WholeRecordsCase{"DoubledQuote", "\"a\"\"\n\";1\n2", 9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CsvWriter, WhatItWritesReadsBackUnchanged)
{
    const std::vector<std::string> fields = {"a;b", "\"", "", "x\r\ny", "plain", "\"\";"};
    TextSink out;
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
    const std::string text = out.text();
    TextSource source(text);
    CsvReader reader(source);
    int records = 0;
    while (reader.next() == Status::Record) {
        ASSERT_EQ(std::vector<std::string>(reader.fields().begin(), reader.fields().end()), fields);
        ++records;
    }
    EXPECT_EQ(records, 20000);
}

// A record longer than the reader will hold is skipped, its lines counted,
// and reading goes on with the next one; memory stays bounded.
TEST(CsvReaderLimits, OverlongRecordIsSkipped)
{
    const std::string longField(CsvReader::kMaxRecordBytes + 10, 'x');
    const std::string text = "a;b\n\"" + longField + "\n" + longField + "\";y\nc;d\n";
    TextSource source(text);
    CsvReader reader(source, 4096);
    ASSERT_EQ(reader.next(), Status::Record);
    EXPECT_EQ(reader.next(), Status::TooLong);
    EXPECT_EQ(reader.line(), 2);
    ASSERT_EQ(reader.next(), Status::Record);
    EXPECT_EQ(reader.line(), 4);
    EXPECT_EQ(std::vector<std::string>(reader.fields().begin(), reader.fields().end()),
              (std::vector<std::string>{"c", "d"}));
    EXPECT_LT(reader.heldBytes(), 4 * CsvReader::kMaxRecordBytes);
    EXPECT_EQ(reader.next(), Status::End);
}

// The limit holds to the byte wherever the record falls in the chunks read:
// after no rows, a few rows, or nearly a chunk of them; unquoted or quoted.
TEST(CsvReaderLimits, LimitHoldsExactlyWhereverTheRecordFalls)
{
    const std::size_t limit = CsvReader::kMaxRecordBytes;
    for (const std::size_t before : {std::size_t{0}, std::size_t{100}, limit / 2, limit - 7}) {
        for (const bool quoted : {false, true}) {
            for (const std::size_t size : {limit, limit + 1}) {
                SCOPED_TRACE(testing::Message()
                             << "before " << before << ", quoted " << quoted << ", size " << size);
                // Rows of ten bytes, "12345;678\n", up to `before` bytes.
                std::string text;
                while (text.size() + 10 <= before) {
                    text += "12345;678\n";
                }
                const std::size_t rows = text.size() / 10;
                text += quoted ? "\"" + std::string(size - 2, 'x') + "\"" : std::string(size, 'x');
                text += "\nc;d\n";
                TextSource source(text);
                CsvReader reader(source);
                for (std::size_t r = 0; r < rows; ++r) {
                    ASSERT_EQ(reader.next(), Status::Record);
                }
                const Status status = reader.next();
                EXPECT_EQ(status, size <= limit ? Status::Record : Status::TooLong);
                if (status == Status::Record) {
                    ASSERT_EQ(reader.fields().size(), 1u);
                    EXPECT_EQ(reader.fields()[0].size(), quoted ? size - 2 : size);
                }
                ASSERT_EQ(reader.next(), Status::Record);
                EXPECT_EQ(reader.fields()[0], "c");
                EXPECT_EQ(reader.next(), Status::End);
            }
        }
    }
}

// Held input goes when the caller lets go of its records.
TEST(CsvReaderLimits, ReleaseLetsGoOfHeldChunks)
{
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        text += std::to_string(i) + ";1234,5;2024-03-31\n";
    }
    TextSource source(text);
    CsvReader reader(source, 1024);
    int records = 0;
    while (reader.next() == Status::Record) {
        ++records;
    }
    EXPECT_EQ(records, 2000);
    EXPECT_GT(reader.heldBytes(), text.size());
    reader.release();
    EXPECT_LE(reader.heldBytes(), 1024u);
}

TEST(CsvReaderLimits, ReadFailureEndsReadingWithoutAPartialRecord)
{
    FailingSource source("a;b\nc;d", "ne moze da se procita ulaz: pokvaren disk");
    CsvReader reader(source);
    ASSERT_EQ(reader.next(), Status::Record);
    EXPECT_EQ(reader.next(), Status::ReadFailed);
    EXPECT_EQ(reader.error(), "ne moze da se procita ulaz: pokvaren disk");
}

} // namespace
} // namespace kaldora::batch
