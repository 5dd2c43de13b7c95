#pragma once

#include "batch/csvwriter.h"
#include "batch/rowbiller.h"

#include <cstddef>
#include <memory>
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
    // Held apart, so that a writer can move while its calculation stays
    // attached to its sheet.
    std::unique_ptr<RowBiller> m_biller;
    bool m_withId;
};

} // namespace kaldora::batch
