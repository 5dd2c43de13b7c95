#pragma once

#include "batch/checkedprices.h"
#include "billing/memorysheet.h"
#include "billing/numbertext.h"
#include "billing/obracun.h"

#include <chrono>
#include <string_view>

namespace kaldora::batch {

// One meter's inputs, as the user would type them into the window.
struct MeterReadings {
    std::string_view novoVt, novoMt, staroVt, staroMt;
    std::chrono::sys_days datum{};          // the new reading's date, DTPicker1
    std::chrono::sys_days prethodniDatum{}; // the previous reading's date, DTPicker2
};

// Keeps the text of the message the calculation shows instead of showing it.
// The calculation's messages are constants, so the view outlives the run.
class RecordedNotice final : public billing::Notice {
public:
    void show(std::string_view text, std::string_view /*caption*/) override { m_text = text; }
    std::string_view text() const { return m_text; }
    void clear() { m_text = {}; }

private:
    std::string_view m_text;
};

// Bills one meter at a time with the window's own calculation, on a sheet
// of its own. Every meter starts from an empty sheet and fresh working
// values: a step that fails keeps what the previous run left, and in a
// batch the previous run belongs to somebody else's meter. One biller
// serves one thread.
class RowBiller {
public:
    RowBiller(const CheckedPrices& prices, const billing::NumberText& numbers);
    RowBiller(const RowBiller&) = delete;
    RowBiller& operator=(const RowBiller&) = delete;

    // Empties the sheet, fills in the readings, dates and prices, and runs
    // OBRACUNAJ on it. Returns the message the window would have shown: the
    // input error when a reading is not a number (the sheet then holds no
    // results), and an empty text otherwise. The sheet keeps its texts'
    // storage from meter to meter, so billing a meter allocates nothing.
    std::string_view bill(const MeterReadings& readings);

    // The sheet of the meter billed last.
    const billing::BillSheet& sheet() const { return m_sheet; }

private:
    billing::MemorySheet m_sheet;
    RecordedNotice m_notice;
    // Declared after the sheet: it stops listening to the sheet when it goes.
    billing::Obracun m_obracun;
};

} // namespace kaldora::batch
