// Fuzz target: the batch calculator's CSV reader and row billing on any
// bytes at all, on one thread and on several.
//
// Input: the first byte holds the options, the rest is the CSV text.
//   bit 0      the decimal separator: ',' (0) or '.' (1)
//   bits 1-2   the threads of the second run: 2, 3 or 4 (3 counts as 2)
// For about one input in 8 000 the rows after the header are repeated until
// there are more than 20 000, so that several blocks are billed on several
// threads, and for one in 1 000 until there are more than 2 500, one block
// on several threads. Which inputs is decided by a hash of the whole input
// rather than by an option: a run with 20 000 rows costs as much as two
// thousand small ones, and a mutation of such an input is no longer one of
// them, so the slow runs stay few instead of filling the fuzzer's corpus.
//
// Every input runs on one thread and on several; the two must agree. The
// CSV reader alone reads the text as it is in chunks of several sizes.

#include "batchchecks.h"
#include "fuzzcheck.h"

#include "batch/batchrun.h"
#include "batch/checkedprices.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

namespace batch = kaldora::batch;
namespace billing = kaldora::billing;
using kaldora::fuzz::BatchOutcome;

namespace {

constexpr unsigned kFewestThreads = 2;
constexpr unsigned kThreadChoices = 3;
constexpr std::uint32_t kHashBuckets = 8192;
constexpr std::uint32_t kManyBlocksBuckets = 1;
constexpr std::uint32_t kOneBlockBuckets = 8;
// Several blocks of the calculator's 8 192 rows, and one block that is big
// enough to be shared among threads (1 024 rows a thread at least).
constexpr std::size_t kManyBlocksRows = 20'001;
constexpr std::size_t kOneBlockRows = 2'501;
// A repeated input grows to at most this; longer rows give fewer of them.
constexpr std::size_t kLargestExpandedInput = std::size_t{4} << 20;

const batch::CheckedPrices& prices(const billing::NumberText& numbers)
{
    const auto load = [](const billing::NumberText& n, std::string_view list) {
        std::string error;
        auto checked = batch::CheckedPrices::fromList(list, n, error);
        FUZZ_CHECK(checked.has_value(), "the prices are refused: %s", error.c_str());
        return *checked;
    };
    static const batch::CheckedPrices comma =
        load(billing::NumberText(','), "3,10;1,55;4,65;2,33;9,30;4,65");
    static const batch::CheckedPrices period =
        load(billing::NumberText('.'), "3.10;1.55;4.65;2.33;9.30;4.65");
    return numbers.decimalSeparator() == ',' ? comma : period;
}

// FNV-1a, 32 bits.
std::uint32_t hashOf(const std::uint8_t* data, std::size_t size)
{
    constexpr std::uint32_t kOffsetBasis = 2166136261U;
    constexpr std::uint32_t kPrime = 16777619U;
    std::uint32_t hash = kOffsetBasis;
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ data[i]) * kPrime;
    }
    return hash;
}

// The header line, then the rest repeated until it has `rows` line ends.
std::string expand(std::string_view text, std::size_t rows)
{
    const std::size_t headerEnd = text.find('\n');
    if (headerEnd == std::string_view::npos) {
        return std::string(text);
    }
    // Without its trailing empty lines, which would count as rows here.
    std::string body(text.substr(headerEnd + 1));
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) {
        body.pop_back();
    }
    body.push_back('\n');
    std::size_t lineEnds = 0;
    for (char c : body) {
        lineEnds += c == '\n' ? 1 : 0;
    }
    std::string out(text.substr(0, headerEnd + 1));
    for (std::size_t made = 0; made < rows && out.size() + body.size() <= kLargestExpandedInput;
         made += lineEnds) {
        out += body;
    }
    return out;
}

BatchOutcome runBatch(const std::string& input, const billing::NumberText& numbers,
                      unsigned threads)
{
    batch::TextSink out;
    std::ostringstream err;
    BatchOutcome outcome;
    outcome.exit = batch::BatchRun(prices(numbers), numbers, threads).run(input, out, err);
    outcome.out = out.text();
    outcome.err = err.str();
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const billing::NumberText comma(',');
    static const billing::NumberText period('.');
    if (size == 0) {
        return 0;
    }
    const unsigned options = data[0];
    const billing::NumberText& numbers = (options & 1) == 0 ? comma : period;
    const unsigned threads = kFewestThreads + ((options >> 1) & 3) % kThreadChoices;
    const std::uint32_t bucket = hashOf(data, size) % kHashBuckets;

    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    kaldora::fuzz::checkChunkedReading(input);
    if (bucket < kManyBlocksBuckets) {
        input = expand(input, kManyBlocksRows);
    } else if (bucket < kManyBlocksBuckets + kOneBlockBuckets) {
        input = expand(input, kOneBlockRows);
    }

    const BatchOutcome single = runBatch(input, numbers, 1);
    kaldora::fuzz::checkBatchOutcome(input, single, numbers);
    kaldora::fuzz::checkSameOutcome(single, runBatch(input, numbers, threads), threads);
    return 0;
}
