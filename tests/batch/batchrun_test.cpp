#include "batch/batchrun.h"
#include "batch/csvreader.h"
#include "batch/csvwriter.h"
#include "failingsource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kaldora::batch {
namespace {

constexpr std::string_view kCommaPrices = "3,10;1,55;4,65;2,33;9,30;4,65";
constexpr std::string_view kInputHeader =
    "id;novo_vt;novo_mt;staro_vt;staro_mt;datum;prethodni_datum\n";
constexpr std::string_view kOutputColumns =
    "potrosnja_vt;potrosnja_mt;ukupno;dana;zona1_vt;zona1_mt;zona2_vt;zona2_mt;zona3_vt;zona3_mt;"
    "iznos1_vt;iznos1_mt;iznos2_vt;iznos2_mt;iznos3_vt;iznos3_mt;energija;naknada;snaga;bez_pdv;"
    "pdv;sa_pdv;greska\n";
constexpr std::string_view kInputError = "NISTE UPISALI BROJ ILI PODATAK NIJE NUMERICKI!!!";

struct Outcome {
    int exit = -1;
    std::string out;
    std::string err;
};

Outcome runBatch(std::string input, char separator = ',', std::string_view prices = kCommaPrices,
                 unsigned threads = 1)
{
    const billing::NumberText numbers(separator);
    std::string error;
    const auto checkedPrices = CheckedPrices::fromList(prices, numbers, error);
    if (!checkedPrices) {
        ADD_FAILURE() << error;
        return {};
    }
    TextSink out;
    std::ostringstream err;
    const int exit = BatchRun(*checkedPrices, numbers, threads).run(std::move(input), out, err);
    return {exit, out.text(), err.str()};
}

// The output read back, so that tests can name cells by column.
struct Table {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    explicit Table(const std::string& csv)
    {
        TextSource source(csv);
        CsvReader reader(source);
        while (reader.next() == CsvReader::Status::Record) {
            std::vector<std::string> fields(reader.fields().begin(), reader.fields().end());
            if (header.empty()) {
                header = std::move(fields);
            } else {
                rows.push_back(std::move(fields));
            }
        }
    }

    std::string cell(std::size_t row, std::string_view column) const
    {
        for (std::size_t i = 0; i < header.size(); ++i) {
            if (header[i] == column) {
                return rows.at(row).at(i);
            }
        }
        ADD_FAILURE() << "no column " << column;
        return {};
    }
};

std::string row(std::string_view id, std::string_view novoVt, std::string_view novoMt,
                std::string_view staroVt, std::string_view staroMt,
                std::string_view datum = "2024-03-31", std::string_view prethodni = "2024-03-01")
{
    std::string r;
    for (std::string_view f : {id, novoVt, novoMt, staroVt, staroMt, datum}) {
        r.append(f).push_back(';');
    }
    return r.append(prethodni).append("\n");
}

struct BillCase {
    const char* name;
    std::string row;
    // The output row after the id: Text29..Text32, the zones, the amounts,
    // the charges and totals, and an empty greska.
    std::string_view bill;
};

class BatchBill : public testing::TestWithParam<BillCase> {};

TEST_P(BatchBill, ShowsWhatTheWindowShows)
{
    const Outcome result = runBatch(std::string(kInputHeader) + GetParam().row);
    ASSERT_EQ(result.exit, kExitAllBilled) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string id = GetParam().row.substr(0, GetParam().row.find(';') + 1);
    EXPECT_EQ(result.out,
              "id;" + std::string(kOutputColumns) + id + std::string(GetParam().bill) + "\n");
}

// Prices 3,10 1,55 4,65 2,33 9,30 4,65; 30 days unless the dates say otherwise.
INSTANTIATE_TEST_SUITE_P(
    Meters, BatchBill,
    testing::Values(
        BillCase{"BelowZone1End", row("1", "200", "100", "0", "0"),
                 "200;100;300;30;200;100;0;0;0;0;620,00;155,00;0,00;0,00;0,00;0,00;"
                 "775;119,07;348,68;1242,75;223,70;1466,45;"},
        BillCase{"IntoZone2", row("2", "12400", "6200", "12000", "6000"),
                 "400;200;600;30;233;117;167;83;0;0;722,30;181,35;776,55;193,39;0,00;0,00;"
                 "1873,59;119,07;348,68;2341,34;421,44;2762,78;"},
        BillCase{"Zone2Full", row("3", "25200", "8300", "24000", "8000"),
                 "1200;300;1500;30;280;70;920;230;0;0;868,00;108,50;4278,00;535,90;0,00;0,00;"
                 "5790,4;119,07;348,68;6258,15;1126,47;7384,62;"},
        BillCase{"IntoZone3", row("4", "1500", "500", "0", "0"),
                 "1500;500;2000;30;262;87;937;312;300;100;812,20;134,85;4357,05;726,96;2790,00;"
                 "465,00;9286,06;119,07;348,68;9753,81;1755,69;11509,5;"},
        // The V.T. consumption is held just below 234,3, so zone 2 gets a
        // tiny negative remainder that rounds to 0.
        BillCase{"DecimalReadings", row("5", "1234,5", "500", "1000,2", "400"),
                 "234,3;100;334,3;30;234;100;0;0;0;0;725,40;155,00;0,00;0,00;0,00;0,00;"
                 "880,4;119,07;348,68;1348,15;242,67;1590,82;"},
        BillCase{"SameDay", row("6", "10", "5", "0", "0", "2024-03-01", "2024-03-01"),
                 "10;5;15;0;0;0;0;0;10;5;0,00;0,00;0,00;0,00;93,00;23,25;"
                 "116,25;119,07;348,68;584;105,12;689,12;"},
        BillCase{"LeapFebruary", row("7", "1", "1", "0", "0", "2024-03-01", "2024-02-01"),
                 "1;1;2;29;1;1;0;0;0;0;3,10;1,55;0,00;0,00;0,00;0,00;"
                 "4,65;119,07;348,68;472,4;85,03;557,43;"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BatchRun, PeriodLocaleBillsWithPeriods)
{
    const Outcome result = runBatch(std::string(kInputHeader) + row("4", "1500.0", "500", "0", "0"),
                                    '.', "3.10;1.55;4.65;2.33;9.30;4.65");
    ASSERT_EQ(result.exit, kExitAllBilled) << result.err;
    const Table table(result.out);
    EXPECT_EQ(table.cell(0, "energija"), "9286.06");
    EXPECT_EQ(table.cell(0, "naknada"), "119.07");
    EXPECT_EQ(table.cell(0, "pdv"), "1755.69");
    EXPECT_EQ(table.cell(0, "sa_pdv"), "11509.5");
}

TEST(BatchRun, WritesIdOnlyWhenTheInputHasIt)
{
    const Outcome withId =
        runBatch(std::string(kInputHeader) + row("\"B; 6\"", "1", "1", "0", "0"));
    EXPECT_EQ(withId.out.substr(0, withId.out.find('\n') + 1), "id;" + std::string(kOutputColumns));
    EXPECT_NE(withId.out.find("\n\"B; 6\";1;1;2;30;"), std::string::npos) << withId.out;

    const Outcome noId = runBatch("novo_vt;novo_mt;staro_vt;staro_mt;datum;prethodni_datum\n"
                                  "1;1;0;0;2024-03-31;2024-03-01\n");
    EXPECT_EQ(noId.exit, kExitAllBilled);
    EXPECT_EQ(noId.out, std::string(kOutputColumns) +
                            "1;1;2;30;1;1;0;0;0;0;3,10;1,55;0,00;0,00;0,00;0,00;4,65;119,07;"
                            "348,68;472,4;85,03;557,43;\n");
}

TEST(BatchRun, FindsColumnsInAnyOrderAndIgnoresOthers)
{
    const std::string ordered = std::string(kInputHeader) + row("a", "1500", "500", "10", "20") +
                                row("b", "400", "200", "0", "0", "2024-02-29", "2024-02-01");
    const std::string shuffled =
        "napomena;prethodni_datum; staro_mt;datum;novo_mt;id;staro_vt;novo_vt\r\n"
        "x;2024-03-01;20;2024-03-31;500;a;10;1500\r\n"
        "\"y;z\";2024-02-01;0;2024-02-29;200;b;0;400\r\n";
    const Outcome expected = runBatch(ordered);
    ASSERT_EQ(expected.exit, kExitAllBilled);
    const Outcome result = runBatch("\xEF\xBB\xBF" + shuffled);
    EXPECT_EQ(result.exit, kExitAllBilled) << result.err;
    EXPECT_EQ(result.out, expected.out);
}

struct HeaderCase {
    const char* name;
    std::string input;
    const char* message;
};

class BatchBadHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(BatchBadHeader, BillsNothingAndWritesNothing)
{
    const Outcome result = runBatch(GetParam().input);
    EXPECT_EQ(result.exit, kExitNothingBilled);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, BatchBadHeader,
    testing::Values(HeaderCase{"MissingColumn",
                               "id;novo_vt;staro_vt;staro_mt;datum;prethodni_datum\n"
                               "1;1;1;1;2024-03-31;2024-03-01\n",
                               "red 1: zaglavlju nedostaje kolona novo_mt"},
                    HeaderCase{"MissingColumns", "novo_vt;novo_mt;staro_vt;staro_mt\n",
                               "nedostaju kolone datum, prethodni_datum"},
                    HeaderCase{"ColumnTwice",
                               "novo_vt;novo_mt;staro_vt;staro_mt;datum;prethodni_datum;datum\n",
                               "\"datum\" se u zaglavlju javlja dva puta"},
                    HeaderCase{"Empty", "", "ulaz je prazan"},
                    HeaderCase{"OnlyBlankLines", "\n\r\n", "ulaz je prazan"},
                    HeaderCase{"UnterminatedQuote", "\n\"novo_vt;novo_mt\n", "red 2: navodnici"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BatchRun, HeaderWithoutRowsIsNotAnError)
{
    const Outcome result = runBatch(std::string(kInputHeader));
    EXPECT_EQ(result.exit, kExitAllBilled);
    EXPECT_EQ(result.out, "id;" + std::string(kOutputColumns));
}

struct BadRowCase {
    const char* name;
    std::string badRow;
    const char* message;
};

class BatchBadRow : public testing::TestWithParam<BadRowCase> {};

// The bad row stands on line 3, between two good rows; an unterminated quote
// takes the rest of the input with it, so the bad row comes last there.
TEST_P(BatchBadRow, IsReportedAndLeavesTheOthersAlone)
{
    const std::string first = row("prvi", "1500", "500", "0", "0");
    const std::string last = row("poslednji", "400", "200", "0", "0", "2024-03-29", "2024-03-01");
    const Outcome good = runBatch(std::string(kInputHeader) + first + last);
    ASSERT_EQ(good.exit, kExitAllBilled);

    const Outcome result = runBatch(std::string(kInputHeader) + first + GetParam().badRow + last);
    EXPECT_EQ(result.exit, kExitSomeRowsBad);
    EXPECT_EQ(result.out, good.out);
    EXPECT_NE(result.err.find(std::string("kaldora-obracun: red 3: ") + GetParam().message),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("nije obracunato redova: 1 od 3"), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BatchBadRow,
    testing::Values(
        BadRowCase{"NoSuchDay", row("x", "1", "1", "0", "0", "2024-02-30"),
                   "kolona datum: \"2024-02-30\" nije ispravan datum"},
        BadRowCase{"DottedDate", row("x", "1", "1", "0", "0", "2024-03-31", "31.03.2024"),
                   "kolona prethodni_datum: \"31.03.2024\""},
        BadRowCase{"EmptyDate", row("x", "1", "1", "0", "0", ""), "kolona datum: \"\""},
        BadRowCase{"TooFewFields", "x;1;1;0;0;2024-03-31\n", "ima 6 polja, a zaglavlje 7"},
        BadRowCase{"TooManyFields", "x;1;1;0;0;2024-03-31;2024-03-01;\n",
                   "ima 8 polja, a zaglavlje 7"},
        BadRowCase{"TextAfterQuote", "\"x\"y;1;1;0;0;2024-03-31;2024-03-01\n",
                   "posle zatvorenih navodnika"},
        BadRowCase{"FieldsCountedAfterQuotedLineEnd", "\"x\ny\";1;1;0;0;2024-03-31\n",
                   "ima 6 polja"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BatchRun, UnterminatedQuoteKeepsTheRowsBeforeIt)
{
    const std::string good = std::string(kInputHeader) + row("1", "1500", "500", "0", "0");
    const Outcome expected = runBatch(good);
    const Outcome result = runBatch(good + "\"2;1;1;0;0;2024-03-31;2024-03-01\n3;1;1;0;0\n");
    EXPECT_EQ(result.exit, kExitSomeRowsBad);
    EXPECT_EQ(result.out, expected.out);
    EXPECT_NE(result.err.find("red 3: navodnici otvoreni u ovom redu nisu zatvoreni"),
              std::string::npos)
        << result.err;
}

TEST(BatchRun, BothBadDatesOfARowAreReported)
{
    const Outcome result =
        runBatch(std::string(kInputHeader) + row("x", "1", "1", "0", "0", "2024-13-01", "jucer"));
    EXPECT_EQ(result.exit, kExitSomeRowsBad);
    EXPECT_NE(result.err.find("red 2: kolona datum"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("red 2: kolona prethodni_datum"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("1 od 1"), std::string::npos) << result.err;
}

class BatchInputError : public testing::TestWithParam<std::string> {};

// A reading that is not a number is the window's input error: the row gets
// the message instead of a bill and counts as not billed.
TEST_P(BatchInputError, GivesTheMessageAndNoBill)
{
    const Outcome result =
        runBatch(std::string(kInputHeader) + GetParam() + row("dobar", "200", "100", "0", "0"));
    EXPECT_EQ(result.exit, kExitSomeRowsBad) << result.err;
    EXPECT_EQ(result.err, "kaldora-obracun: nije obracunato redova: 1 od 2\n");
    const Table table(result.out);
    ASSERT_EQ(table.rows.size(), 2U);
    ASSERT_EQ(table.rows[0].size(), table.header.size());
    EXPECT_EQ(table.cell(0, "id"), "los");
    EXPECT_EQ(table.cell(0, "greska"), kInputError);
    for (std::size_t i = 1; i + 1 < table.header.size(); ++i) {
        EXPECT_EQ(table.rows[0][i], "") << table.header[i];
    }
    EXPECT_EQ(table.cell(1, "greska"), "");
    EXPECT_EQ(table.cell(1, "sa_pdv"), "1466,45");
}

INSTANTIATE_TEST_SUITE_P(Readings, BatchInputError,
                         testing::Values(row("los", "abc", "100", "0", "0"),
                                         row("los", "200", "", "0", "0"),
                                         row("los", "200", "100", " ", "0"),
                                         row("los", "200", "100", "0", "1.000"),
                                         row("los", "1.234,5", "100", "0", "0")));

// A step that fails keeps what the previous run left. Equal readings with
// the new date first fill zone 1 from the V.T. share, which such a row never
// computes: it must be that of a fresh sheet (0), not the previous meter's.
TEST(BatchRun, EveryRowStartsFromAFreshSheet)
{
    const std::string lone = row("b", "7", "7", "7", "7", "2024-03-01", "2024-03-02");
    const Outcome alone = runBatch(std::string(kInputHeader) + lone);
    const Outcome after =
        runBatch(std::string(kInputHeader) + row("a", "300", "100", "0", "0") + lone);
    ASSERT_EQ(alone.exit, kExitAllBilled);
    ASSERT_EQ(after.exit, kExitAllBilled);
    const Table aloneTable(alone.out);
    const Table afterTable(after.out);
    ASSERT_EQ(afterTable.rows.size(), 2U);
    EXPECT_EQ(afterTable.rows[1], aloneTable.rows[0]);
    EXPECT_EQ(aloneTable.cell(0, "zona1_vt"), "0");
    EXPECT_EQ(aloneTable.cell(0, "zona3_vt"), "0");
}

// Rows of every kind, many blocks of them: billed on several threads, the
// bills and the messages come out exactly as on one thread.
TEST(BatchRun, ThreadsChangeNothingButTheSpeed)
{
    std::string input(kInputHeader);
    for (int i = 0; i < 30000; ++i) {
        const std::string id = std::to_string(i);
        const std::string newVt = std::to_string(1000 + (i * 37) % 2500) + (i % 7 == 0 ? ",5" : "");
        const std::string newMt = std::to_string(500 + (i * 11) % 900);
        if (i % 997 == 0) {
            input += row(id, "1", "1", "0", "0", "2024-02-30");
        } else if (i % 1499 == 0) {
            input += id + ";1;1\n";
        } else {
            input += row(id, i % 401 == 0 ? "x" : newVt, newMt, "1000", "500", "2024-03-31",
                         i % 2 == 0 ? "2024-03-01" : "2024-02-27");
        }
    }
    const Outcome single = runBatch(input, ',', kCommaPrices, 1);
    ASSERT_EQ(single.exit, kExitSomeRowsBad);
    // 31 bad dates, 20 short rows, 74 readings that are not numbers.
    EXPECT_NE(single.err.find("nije obracunato redova: 125 od 30000"), std::string::npos);
    const Table table(single.out);
    ASSERT_EQ(table.rows.size(), 30000U - 31 - 20);
    EXPECT_EQ(table.rows.back().front(), "29999");
    for (const unsigned threads : {2U, 3U, 8U}) {
        const Outcome several = runBatch(input, ',', kCommaPrices, threads);
        EXPECT_EQ(several.exit, single.exit) << threads;
        EXPECT_TRUE(several.out == single.out) << threads;
        EXPECT_EQ(several.err, single.err) << threads;
    }
}

// A read that fails halfway: the rows read before it are billed, the
// failure is reported, and the run counts as failed.
TEST(BatchRun, ReadFailureKeepsTheRowsReadBeforeIt)
{
    const std::string good = std::string(kInputHeader) + row("1", "1500", "500", "0", "0");
    const Outcome expected = runBatch(good);
    const billing::NumberText numbers(',');
    std::string error;
    const auto prices = CheckedPrices::fromList(kCommaPrices, numbers, error);
    ASSERT_TRUE(prices) << error;
    FailingSource input(good, "ne moze da se procita standardni ulaz: greska pri citanju");
    TextSink out;
    std::ostringstream err;
    EXPECT_EQ(BatchRun(*prices, numbers, 1).run(input, out, err), kExitNothingBilled);
    EXPECT_EQ(out.text(), expected.out);
    EXPECT_EQ(err.str(),
              "kaldora-obracun: ne moze da se procita standardni ulaz: greska pri citanju\n");
}

// Rows without end, counted as they are read; asks the run to stop once
// `stopAfter` bytes have been read.
class EndlessRows final : public ByteSource {
public:
    std::atomic<bool> stop{false};
    std::size_t stopAfter = SIZE_MAX;

    std::size_t read(char* buffer, std::size_t size) override
    {
        stop = stop || m_read >= stopAfter;
        for (std::size_t i = 0; i < size; ++i, ++m_read) {
            const std::size_t at =
                m_read < m_header.size() ? m_read : (m_read - m_header.size()) % m_row.size();
            buffer[i] = m_read < m_header.size() ? m_header[at] : m_row[at];
        }
        return size;
    }
    std::size_t bytesRead() const { return m_read; }

private:
    std::string m_header = std::string(kInputHeader);
    std::string m_row = row("7", "1500", "500", "0", "0");
    std::size_t m_read = 0;
};

// Takes `room` bytes, then fails as a full disk does. Notes whether every
// piece it was handed was whole rows, which is what lets the real output
// take back the torn end of a failed piece.
class FullDisk final : public ByteSink {
public:
    explicit FullDisk(std::size_t room)
        : m_room(room)
    {
    }
    bool write(const char* data, std::size_t size) override
    {
        wholePieces = wholePieces && size > 0 &&
                      CsvWriter::wholeRecordsLength(std::string_view(data, size)) == size;
        m_failed = m_failed || size > m_room;
        m_room -= m_failed ? 0 : size;
        return !m_failed;
    }
    std::string error() const override
    {
        return m_failed ? "izlaz nije mogao da se upise: disk je pun" : "";
    }

    bool wholePieces = true;

private:
    std::size_t m_room;
    bool m_failed = false;
};

// The first failed write ends the run, however much input is left: the
// cause is named, nothing is claimed billed, and little more is read.
TEST(BatchRun, FailedOutputEndsTheRunAtOnce)
{
    const billing::NumberText numbers(',');
    std::string error;
    const auto prices = CheckedPrices::fromList(kCommaPrices, numbers, error);
    ASSERT_TRUE(prices) << error;
    for (const unsigned threads : {1U, 4U}) {
        EndlessRows input;
        FullDisk out(256 * 1024);
        std::ostringstream err;
        EXPECT_EQ(BatchRun(*prices, numbers, threads).run(input, out, err), kExitNothingBilled);
        EXPECT_EQ(err.str(), "kaldora-obracun: izlaz nije mogao da se upise: disk je pun\n");
        EXPECT_LT(input.bytesRead(), std::size_t{32} << 20);
        EXPECT_TRUE(out.wholePieces) << threads;
    }
}

// More rows than one block holds, in more than one piece of reading (each
// row about 100 bytes, 1.2 MB in all), then the end of the input; the stop is
// asked for as the last bytes are read, in the last block, as when Ctrl+C
// stops the program feeding a pipe and this one alike.
class EndsAsItStops final : public ByteSource {
public:
    std::atomic<bool> stop{false};

    EndsAsItStops()
    {
        for (int i = 0; i < 12000; ++i) {
            m_text += row(std::string(60, 'x') + std::to_string(i), "1500", "500", "0", "0");
        }
    }
    std::size_t read(char* buffer, std::size_t size) override
    {
        const std::size_t n = std::min(size, m_text.size() - m_done);
        std::copy_n(m_text.data() + m_done, n, buffer);
        m_done += n;
        stop = stop || m_done == m_text.size();
        return n;
    }

private:
    std::string m_text = std::string(kInputHeader);
    std::size_t m_done = 0;
};

// A stop asked for from outside (Ctrl+C on Windows) ends the run after the
// block it is billing: every row written is whole, the message counts them,
// and the run says it was stopped, even when the input ended as the stop
// came and every row read was billed.
TEST(BatchRun, StoppedRunSaysSoWithWholeRows)
{
    const billing::NumberText numbers(',');
    std::string error;
    const auto prices = CheckedPrices::fromList(kCommaPrices, numbers, error);
    ASSERT_TRUE(prices) << error;
    EndlessRows endless;
    endless.stopAfter = std::size_t{3} << 20;
    EndsAsItStops ending;
    const std::pair<ByteSource*, const std::atomic<bool>*> cases[] = {{&endless, &endless.stop},
                                                                      {&ending, &ending.stop}};
    for (const auto& [input, stop] : cases) {
        TextSink out;
        std::ostringstream err;
        BatchRun run(*prices, numbers, 2);
        run.setStopFlag(*stop);
        EXPECT_EQ(run.run(*input, out, err), 130);
        const Table table(out.text());
        ASSERT_FALSE(table.rows.empty());
        for (const auto& fields : table.rows) {
            ASSERT_EQ(fields.size(), table.header.size());
        }
        EXPECT_EQ(out.text().back(), '\n');
        EXPECT_EQ(err.str(), "kaldora-obracun: obrada je prekinuta; ulaz mozda nije procitan do "
                             "kraja; obracunato redova: " +
                                 std::to_string(table.rows.size()) + "\n");
    }
}

} // namespace
} // namespace kaldora::batch
