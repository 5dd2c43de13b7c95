#include "batch/batchrun.h"

#include "batch/billwriter.h"
#include "batch/commandline.h"
#include "batch/csvreader.h"
#include "batch/csvwriter.h"
#include "batch/inputcolumns.h"
#include "batch/isodate.h"

#include <algorithm>
#include <future>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace kaldora::batch {

namespace {

// Rows read before they are billed: enough to keep the threads busy, few
// enough that the pending rows take little memory. A block also ends when
// the input it holds grows past kBlockBytes (long rows with many columns).
constexpr std::size_t kBlockRows = 8192;
constexpr std::size_t kBlockBytes = std::size_t{8} << 20;
// Below this many rows a thread costs more to start than it saves.
constexpr std::size_t kMinRowsPerThread = 1024;
constexpr unsigned kMaxThreads = 8;

// Reports a problem of the record that began on `line`.
void report(std::ostream& err, long line, std::string_view problem)
{
    err << kProgramName << ": red " << line << ": " << problem << '\n';
}

// What is wrong with a record the reader could not split.
std::string_view recordProblem(CsvReader::Status status)
{
    switch (status) {
    case CsvReader::Status::UnterminatedQuote:
        return "navodnici otvoreni u ovom redu nisu zatvoreni do kraja ulaza";
    case CsvReader::Status::TextAfterQuote:
        return "posle zatvorenih navodnika stoji tekst pre znaka \";\" ili kraja reda";
    case CsvReader::Status::TooLong:
        return "zapis je duzi od 1 MiB, pa je preskocen (mozda navodnici nisu zatvoreni)";
    default:
        return "zapis ne moze da se procita";
    }
}

// Reads one date column; reports it and gives nullopt when it is not a date.
std::optional<std::chrono::sys_days> readDate(const CsvReader& reader, const InputColumns& columns,
                                              InputColumn column, std::ostream& err)
{
    const std::string_view text = reader.fields()[columns.position(column)];
    auto date = parseIsoDate(text);
    if (!date) {
        report(err, reader.line(),
               "kolona " + std::string(InputColumns::name(column)) + ": \"" + std::string(text) +
                   "\" nije ispravan datum u obliku GGGG-MM-DD");
    }
    return date;
}

// Checks the record just read; reports it and gives nullopt when it is bad.
std::optional<MeterRow> checkRecord(const CsvReader& reader, const InputColumns& columns,
                                    std::ostream& err)
{
    const auto& fields = reader.fields();
    if (fields.size() != columns.fieldCount()) {
        report(err, reader.line(),
               "ima " + std::to_string(fields.size()) + " polja, a zaglavlje " +
                   std::to_string(columns.fieldCount()));
        return std::nullopt;
    }
    const auto datum = readDate(reader, columns, InputColumn::Datum, err);
    const auto prethodniDatum = readDate(reader, columns, InputColumn::PrethodniDatum, err);
    if (!datum || !prethodniDatum) {
        return std::nullopt;
    }
    return MeterRow{
        .id = columns.hasId() ? fields[columns.position(InputColumn::Id)] : std::string_view(),
        .readings = {.novoVt = fields[columns.position(InputColumn::NovoVt)],
                     .novoMt = fields[columns.position(InputColumn::NovoMt)],
                     .staroVt = fields[columns.position(InputColumn::StaroVt)],
                     .staroMt = fields[columns.position(InputColumn::StaroMt)],
                     .datum = *datum,
                     .prethodniDatum = *prethodniDatum},
    };
}

// Bills a block: the first share on this thread straight into `out`, every
// other share on a thread of its own into its own writer, then those in order.
// Returns how many rows got the input-error message instead of a bill.
std::size_t billBlock(std::span<const MeterRow> rows, std::vector<BillWriter>& billers,
                      std::vector<CsvWriter>& shares, CsvWriter& out)
{
    const std::size_t threads =
        std::clamp<std::size_t>(rows.size() / kMinRowsPerThread, 1, billers.size());
    const std::size_t perThread = (rows.size() + threads - 1) / threads;
    const auto share = [&](std::size_t t) {
        const std::size_t first = std::min(rows.size(), t * perThread);
        return rows.subspan(first, std::min(perThread, rows.size() - first));
    };
    std::vector<std::future<std::size_t>> running;
    for (std::size_t t = 1; t < threads; ++t) {
        auto job = [&billers, &shares, part = share(t), t] {
            return billers[t].write(part, shares[t - 1]);
        };
        try {
            running.push_back(std::async(std::launch::async, job));
        } catch (const std::system_error&) {
            // No thread to be had: the share is billed here when its turn comes.
            running.push_back(std::async(std::launch::deferred, job));
        }
    }
    std::size_t refused = billers[0].write(share(0), out);
    for (std::size_t t = 1; t < threads; ++t) {
        refused += running[t - 1].get();
        out.append(shares[t - 1].text());
        shares[t - 1].clear();
    }
    return refused;
}

} // namespace

BatchRun::BatchRun(const CheckedPrices& prices, const billing::NumberText& numbers,
                   unsigned threads)
    : m_prices(prices)
    , m_numbers(numbers)
    , m_threads(std::clamp(threads, 1U, kMaxThreads))
{
}

unsigned BatchRun::defaultThreads()
{
    return std::max(1U, std::thread::hardware_concurrency());
}

int BatchRun::run(std::string_view input, ByteSink& out, std::ostream& err) const
{
    TextSource source(input);
    return run(source, out, err);
}

int BatchRun::run(ByteSource& input, ByteSink& out, std::ostream& err) const
{
    CsvReader reader(input);
    const CsvReader::Status headerStatus = reader.next();
    if (headerStatus == CsvReader::Status::End) {
        err << kProgramName << ": ulaz je prazan, nema ni zaglavlja\n";
        return kExitNothingBilled;
    }
    if (headerStatus == CsvReader::Status::ReadFailed) {
        err << kProgramName << ": " << reader.error() << '\n';
        return kExitNothingBilled;
    }
    if (headerStatus != CsvReader::Status::Record) {
        report(err, reader.line(), recordProblem(headerStatus));
        return kExitNothingBilled;
    }
    std::string error;
    const auto columns = InputColumns::fromHeader(reader.fields(), error);
    if (!columns) {
        report(err, reader.line(), error);
        return kExitNothingBilled;
    }

    std::vector<BillWriter> billers;
    billers.reserve(m_threads);
    std::vector<CsvWriter> shares(m_threads - 1);
    for (unsigned t = 0; t < m_threads; ++t) {
        billers.emplace_back(m_prices, m_numbers, columns->hasId());
    }
    CsvWriter writer(out);
    billers.front().writeHeader(writer);

    std::vector<MeterRow> block;
    block.reserve(kBlockRows);
    std::size_t billed = 0;
    std::size_t bad = 0;
    bool readFailed = false;
    bool interrupted = false;
    bool more = true;
    while (more) {
        if (m_stop != nullptr && m_stop->load()) {
            interrupted = true;
            break;
        }
        block.clear();
        while (block.size() < kBlockRows && reader.heldBytes() < kBlockBytes) {
            const CsvReader::Status status = reader.next();
            if (status == CsvReader::Status::End || status == CsvReader::Status::ReadFailed) {
                readFailed = status == CsvReader::Status::ReadFailed;
                more = false;
                break;
            }
            // The rows wait in the block as views of the reader's text,
            // which stays in place until the block is billed.
            std::optional<MeterRow> row;
            if (status == CsvReader::Status::Record) {
                row = checkRecord(reader, *columns, err);
            } else {
                report(err, reader.line(), recordProblem(status));
            }
            if (row) {
                block.push_back(*row);
            } else {
                ++bad;
            }
        }
        const std::size_t refused = billBlock(block, billers, shares, writer);
        reader.release();
        bad += refused;
        billed += block.size() - refused;
        // The output failed: nothing more can reach it, so the input is not
        // read on, whether it ends or not.
        if (writer.failed()) {
            break;
        }
    }

    if (!writer.flush()) {
        err << kProgramName << ": " << out.error() << '\n';
        return kExitNothingBilled;
    }
    if (interrupted || (m_stop != nullptr && m_stop->load())) {
        err << kProgramName << ": obrada je prekinuta; ulaz mozda nije procitan do kraja; "
            << "obracunato redova: " << billed << '\n';
        return kExitStopped;
    }
    if (readFailed) {
        // The rows read before the failure are billed; the rest never came.
        err << kProgramName << ": " << reader.error() << '\n';
        return kExitNothingBilled;
    }
    if (bad > 0) {
        err << kProgramName << ": nije obracunato redova: " << bad << " od " << (bad + billed)
            << '\n';
        return kExitSomeRowsBad;
    }
    return kExitAllBilled;
}

} // namespace kaldora::batch
