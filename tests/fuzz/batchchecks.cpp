#include "batchchecks.h"

#include "fuzzcheck.h"

#include "batch/batchrun.h"
#include "batch/bytesource.h"
#include "batch/commandline.h"
#include "batch/csvreader.h"
#include "billing/obracun.h"

#include <charconv>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace kaldora::fuzz {

namespace {

using batch::CsvReader;

constexpr std::string_view kIdColumn = "id";
constexpr std::string_view kErrorColumn = "greska";
// The bill's columns between the optional id and greska.
constexpr std::size_t kBillColumns = 22;
constexpr std::string_view kSummary = ": nije obracunato redova: ";
constexpr std::string_view kSummaryOf = " od ";
constexpr std::string_view kRowReport = ": red ";

// A row is not billed when it is left out (a wrong field count, a date that
// is no date, open quotes) or written with the input-error text instead of
// a bill (readings that are no numbers). The summary counts both, and any
// such row makes the exit code 1.
long leftOutRows(long notBilled, long refused)
{
    return notBilled - refused;
}
int expectedExit(long notBilled)
{
    return notBilled > 0 ? batch::kExitSomeRowsBad : batch::kExitAllBilled;
}

// Records of a CSV text, the header included, good or bad, as the
// calculator's reader finds them.
long countRecords(std::string_view text)
{
    batch::TextSource source(text);
    CsvReader reader(source);
    long count = 0;
    while (reader.next() != CsvReader::Status::End) {
        ++count;
        reader.release();
    }
    return count;
}

// Lines of the error stream that report a row.
long countRowReports(std::string_view err)
{
    const std::string prefix = std::string(batch::kProgramName) + std::string(kRowReport);
    long count = 0;
    for (std::size_t at = 0; at < err.size();) {
        const std::size_t end = err.find('\n', at);
        count += err.substr(at).starts_with(prefix) ? 1 : 0;
        at = end == std::string_view::npos ? err.size() : end + 1;
    }
    return count;
}

// "kaldora-obracun: nije obracunato redova: B od T" as the last line of the
// error stream; false when it is not there.
bool readSummary(std::string_view err, long& notBilled, long& rows)
{
    if (!err.ends_with('\n')) {
        return false;
    }
    err.remove_suffix(1);
    const std::size_t lineStart = err.rfind('\n');
    std::string_view line = lineStart == std::string_view::npos ? err : err.substr(lineStart + 1);
    const std::string prefix = std::string(batch::kProgramName) + std::string(kSummary);
    if (!line.starts_with(prefix)) {
        return false;
    }
    line.remove_prefix(prefix.size());
    const auto [afterCount, ec1] =
        std::from_chars(line.data(), line.data() + line.size(), notBilled);
    line.remove_prefix(static_cast<std::size_t>(afterCount - line.data()));
    if (ec1 != std::errc() || !line.starts_with(kSummaryOf)) {
        return false;
    }
    line.remove_prefix(kSummaryOf.size());
    const auto [afterRows, ec2] = std::from_chars(line.data(), line.data() + line.size(), rows);
    return ec2 == std::errc() && afterRows == line.data() + line.size();
}

// What the output holds besides the bills themselves.
struct OutputCount {
    long rows = 0;    // records after the header
    long refused = 0; // rows with the input-error text instead of a bill
};

// Reads the output record by record and checks every one: as many fields as
// the header, a message that is empty or the input error, and bill cells
// that are numbers, or empty where a step of the calculation failed. A
// refused meter has no bill at all.
OutputCount checkOutput(const std::string& out, const billing::NumberText& numbers)
{
    batch::TextSource source(out);
    CsvReader reader(source);
    FUZZ_CHECK(reader.next() == CsvReader::Status::Record, "the output has no header");
    const std::vector<std::string> header(reader.fields().begin(), reader.fields().end());
    const bool withId = !header.empty() && header.front() == kIdColumn;
    const std::size_t width = kBillColumns + 1 + (withId ? 1 : 0);
    FUZZ_CHECK(header.size() == width && header.back() == kErrorColumn,
               "the output header has %zu columns", header.size());

    OutputCount count;
    for (;;) {
        const CsvReader::Status status = reader.next();
        if (status == CsvReader::Status::End) {
            return count;
        }
        ++count.rows;
        FUZZ_CHECK(status == CsvReader::Status::Record, "output line %ld is no CSV record",
                   reader.line());
        const auto& fields = reader.fields();
        FUZZ_CHECK(fields.size() == width, "output line %ld has %zu fields, the header %zu",
                   reader.line(), fields.size(), width);
        const std::string_view message = fields.back();
        FUZZ_CHECK(message.empty() || message == billing::kInputErrorMessage,
                   "output line %ld: greska \"%s\"", reader.line(), std::string(message).c_str());
        count.refused += message.empty() ? 0 : 1;
        for (std::size_t c = withId ? 1 : 0; c + 1 < width; ++c) {
            const std::string_view cell = fields[c];
            FUZZ_CHECK(message.empty() ? cell.empty() || numbers.parse(cell).has_value()
                                       : cell.empty(),
                       "output line %ld, column %s: \"%s\"", reader.line(), header[c].c_str(),
                       std::string(cell).c_str());
        }
        reader.release();
    }
}

// One record as the reader gave it.
struct ReadRecord {
    CsvReader::Status status;
    long line;
    std::vector<std::string> fields;
};

std::vector<ReadRecord> readAll(std::string_view input, std::size_t chunkBytes,
                                std::size_t releaseEvery)
{
    batch::TextSource source(input);
    CsvReader reader(source, chunkBytes);
    std::vector<ReadRecord> records;
    // The views handed out since the last release, and what they showed.
    std::vector<std::pair<std::string_view, std::string>> held;
    for (;;) {
        const CsvReader::Status status = reader.next();
        if (status == CsvReader::Status::End) {
            return records;
        }
        ReadRecord& record = records.emplace_back(ReadRecord{status, reader.line(), {}});
        for (std::string_view field : reader.fields()) {
            record.fields.emplace_back(field);
            // Only a good record's fields are kept by the calculator.
            if (status == CsvReader::Status::Record) {
                held.emplace_back(field, field);
            }
        }
        if (records.size() % releaseEvery == 0) {
            for (const auto& [view, text] : held) {
                FUZZ_CHECK(view == text, "a held field changed from \"%s\" before its release",
                           text.c_str());
            }
            held.clear();
            reader.release();
        }
    }
}

} // namespace

void checkChunkedReading(std::string_view input)
{
    // The whole input in one chunk, and chunks far smaller than a record.
    const auto whole = readAll(input, input.size() + 1, 1);
    for (const std::size_t chunk : {std::size_t{16}, std::size_t{37}}) {
        for (const std::size_t releaseEvery : {std::size_t{1}, std::size_t{3}}) {
            const auto chunked = readAll(input, chunk, releaseEvery);
            FUZZ_CHECK(chunked.size() == whole.size(), "%zu records in chunks of %zu, %zu in one",
                       chunked.size(), chunk, whole.size());
            for (std::size_t r = 0; r < whole.size(); ++r) {
                FUZZ_CHECK(chunked[r].status == whole[r].status &&
                               chunked[r].line == whole[r].line &&
                               chunked[r].fields == whole[r].fields,
                           "record %zu differs in chunks of %zu (line %ld, in one: line %ld)", r,
                           chunk, chunked[r].line, whole[r].line);
            }
        }
    }
}

void checkBatchOutcome(std::string_view input, const BatchOutcome& outcome,
                       const billing::NumberText& numbers)
{
    const int exit = outcome.exit;
    FUZZ_CHECK(exit == batch::kExitAllBilled || exit == batch::kExitSomeRowsBad ||
                   exit == batch::kExitNothingBilled,
               "exit code %d", exit);
    if (exit == batch::kExitNothingBilled) {
        // An unusable header: it is reported, and nothing at all is written.
        FUZZ_CHECK(outcome.out.empty(), "exit 2 with %zu bytes of output", outcome.out.size());
        FUZZ_CHECK(!outcome.err.empty(), "exit 2 without a message");
        return;
    }
    const auto [written, refused] = checkOutput(outcome.out, numbers);
    const long inputRows = countRecords(input) - 1;
    long notBilled = 0;
    long summaryRows = 0;
    if (readSummary(outcome.err, notBilled, summaryRows)) {
        FUZZ_CHECK(summaryRows == inputRows, "the summary counts %ld rows, the input has %ld",
                   summaryRows, inputRows);
        FUZZ_CHECK(notBilled > 0, "the summary counts no row");
    } else {
        FUZZ_CHECK(outcome.err.empty(), "messages without a summary: %s", outcome.err.c_str());
    }
    const long leftOut = leftOutRows(notBilled, refused);
    FUZZ_CHECK(leftOut >= 0 && countRowReports(outcome.err) >= leftOut,
               "%ld rows not billed, %ld of them refused, fewer reported", notBilled, refused);
    FUZZ_CHECK(written == inputRows - leftOut, "%ld of %ld input rows written, %ld left out",
               written, inputRows, leftOut);
    FUZZ_CHECK(exit == expectedExit(notBilled), "exit %d with %ld rows not billed", exit,
               notBilled);
}

void checkSameOutcome(const BatchOutcome& oneThread, const BatchOutcome& threads,
                      unsigned threadCount)
{
    FUZZ_CHECK(oneThread.exit == threads.exit, "exit %d on one thread, %d on %u", oneThread.exit,
               threads.exit, threadCount);
    FUZZ_CHECK(oneThread.out == threads.out, "the output on %u threads differs", threadCount);
    FUZZ_CHECK(oneThread.err == threads.err, "the messages on %u threads differ", threadCount);
}

} // namespace kaldora::fuzz
