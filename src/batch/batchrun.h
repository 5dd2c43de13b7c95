#pragma once

#include "batch/bytesink.h"
#include "batch/bytesource.h"
#include "batch/checkedprices.h"
#include "billing/numbertext.h"

#include <atomic>
#include <ostream>
#include <string_view>

namespace kaldora::batch {

// The exit status of kaldora-obracun.
enum ExitCode : int {
    kExitAllBilled = 0,     // every row was billed
    kExitSomeRowsBad = 1,   // the good rows were billed; the others were reported, or carry
                            // the input-error message instead of a bill
    kExitNothingBilled = 2, // usage error, unreadable input, unusable header, failed output
    // The user stopped the run (Ctrl+C, Ctrl+Break, the console closed on
    // Windows). A shell reports 130 for a program that Ctrl+C ends on the
    // other systems, so a script reads the same status on both.
    kExitStopped = 130,
};

// Bills every row of CSV input and writes the bills as CSV: the row loop of
// the batch calculator. It reads the header, checks every row, reports a
// bad one on the error stream with its line number and leaves it out; a bad
// row changes neither the rows before it nor those after it. A row whose
// readings are not numbers gets the window's input-error message instead of
// a bill, and counts as not billed.
//
// The input is read in blocks of rows, so memory stays the same whatever
// its size; the good rows of a block are billed on up to `threads` threads,
// each on its own bill sheet, and their bills written in input order. The
// output is the same for any number of threads.
class BatchRun {
public:
    BatchRun(const CheckedPrices& prices, const billing::NumberText& numbers, unsigned threads);

    // One thread per core the system reports.
    static unsigned defaultThreads();

    // A flag that asks the run to stop: it then ends after the block it is
    // billing, with that block's bills written whole, says that it was
    // stopped and returns kExitStopped. A stop that comes while the input
    // ends (the program feeding a pipe was stopped by the same Ctrl+C) still
    // counts: the input may have been cut off, and a stopped run never
    // reports success.
    void setStopFlag(const std::atomic<bool>& stop) { m_stop = &stop; }

    // Returns the exit code. Nothing goes to `out` unless the header is usable.
    // The first write to `out` that fails ends the run: it is reported with
    // its cause, and no row counts as billed.
    int run(ByteSource& input, ByteSink& out, std::ostream& err) const;
    int run(std::string_view input, ByteSink& out, std::ostream& err) const;

private:
    const CheckedPrices& m_prices;
    const billing::NumberText& m_numbers;
    unsigned m_threads;
    const std::atomic<bool>* m_stop = nullptr;
};

} // namespace kaldora::batch
