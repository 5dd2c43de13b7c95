#pragma once

#include "billing/numbertext.h"

#include <string>
#include <string_view>

namespace kaldora::fuzz {

// What one run of the batch calculator gave.
struct BatchOutcome {
    int exit = -1;
    std::string out;
    std::string err;
};

// The batch calculator's promises about any input, checked in one place:
// the exit code, the output's shape and row count, and the messages. Stops
// the program on the first that does not hold.
void checkBatchOutcome(std::string_view input, const BatchOutcome& outcome,
                       const billing::NumberText& numbers);

// The CSV reader must find the same records whatever the size of the chunks
// it reads the input in, and the texts of the good records it has handed out
// must stay as they were until they are released.
void checkChunkedReading(std::string_view input);

// The bills must not depend on the number of threads that made them.
void checkSameOutcome(const BatchOutcome& oneThread, const BatchOutcome& threads,
                      unsigned threadCount);

} // namespace kaldora::fuzz
