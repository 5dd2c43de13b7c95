#pragma once

#include "batch/checkedprices.h"
#include "billing/memorysheet.h"
#include "billing/numbertext.h"

#include <chrono>
#include <string_view>

namespace kaldora::batch {

// One meter's inputs, as the user would type them into the window.
struct MeterReadings {
    std::string_view novoVt, novoMt, staroVt, staroMt;
    std::chrono::sys_days datum{};          // the new reading's date, DTPicker1
    std::chrono::sys_days prethodniDatum{}; // the previous reading's date, DTPicker2
};

// Bills one meter at a time with the window's own calculation. Every meter
// starts from an empty sheet and fresh working values: a step that fails
// keeps what the previous run left, and in a batch the previous run belongs
// to somebody else's meter.
class RowBiller {
public:
    RowBiller(const CheckedPrices& prices, const billing::NumberText& numbers);

    // Empties `sheet`, fills in the readings, dates and prices, and runs
    // OBRACUNAJ on it. Returns the message the window would have shown: the
    // input error when a reading is not a number (the sheet then holds no
    // results), and an empty text otherwise. Reusing one sheet keeps the
    // texts' storage, so billing a meter allocates nothing.
    std::string_view bill(const MeterReadings& readings, billing::MemorySheet& sheet) const;

private:
    const CheckedPrices& m_prices;
    const billing::NumberText& m_numbers;
};

} // namespace kaldora::batch
