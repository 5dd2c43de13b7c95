#pragma once

#include "batch/checkedprices.h"
#include "billing/numbertext.h"

#include <ostream>
#include <string>

namespace kaldora::batch {

// The exit status of kaldora-obracun.
enum ExitCode : int {
    kExitAllBilled = 0,     // every row was billed
    kExitSomeRowsBad = 1,   // the good rows were billed, the bad ones reported
    kExitNothingBilled = 2, // usage error, unreadable input, unusable header, failed output
};

// Bills every row of a CSV text and writes the bills as CSV: the row loop
// of the batch calculator. It reads the header, checks every row, reports a
// bad one on the error stream with its line number and leaves it out; a bad
// row changes neither the rows before it nor those after it.
//
// The rows are read in blocks; the good rows of a block are billed on up to
// `threads` threads, each on its own bill sheet, and their bills written in
// input order. The output is the same for any number of threads.
class BatchRun {
public:
    BatchRun(const CheckedPrices& prices, const billing::NumberText& numbers, unsigned threads);

    // One thread per core the system reports.
    static unsigned defaultThreads();

    // Returns the exit code. Nothing goes to `out` unless the header is usable.
    int run(std::string input, std::ostream& out, std::ostream& err) const;

private:
    const CheckedPrices& m_prices;
    const billing::NumberText& m_numbers;
    unsigned m_threads;
};

} // namespace kaldora::batch
