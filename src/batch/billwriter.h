#pragma once

#include "batch/csvwriter.h"
#include "batch/rowbiller.h"
#include "billing/memorysheet.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace kaldora::batch {

// One good input row: the meter's label (empty when the input has none) and
// its readings.
struct MeterRow {
    std::string_view id;
    MeterReadings readings;
};

// Bills meters and writes each bill as one output record. It owns the
// output columns, their order and their mapping to the bill sheet's fields,
// and the sheet it bills on; one writer per thread.
class BillWriter {
public:
    BillWriter(const CheckedPrices& prices, const billing::NumberText& numbers, bool withId);

    void writeHeader(CsvWriter& out) const;

    // Bills the rows in order and writes one record for each. Returns how
    // many of them got the input-error message instead of a bill.
    std::size_t write(std::span<const MeterRow> rows, CsvWriter& out);

private:
    RowBiller m_biller;
    bool m_withId;
    billing::MemorySheet m_sheet;
};

} // namespace kaldora::batch
