#pragma once

#include "billing/memorysheet.h"
#include "billing/notice.h"
#include "billing/numbertext.h"
#include "billing/obracun.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kaldora::web {

// A calendar date as the page's date pickers give it.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// One bill's inputs, the texts exactly as the user typed them.
struct BillInputs {
    std::string_view novoVt, novoMt, staroVt, staroMt;
    std::array<std::string_view, billing::kPriceRowCount> prices;
    CalendarDate datum;          // the new reading's date, DTPicker1
    CalendarDate prethodniDatum; // the previous reading's date, DTPicker2
};

// Bills the page's inputs with the desktop's own calculation, the way the
// batch calculator bills a row: every bill starts from an empty sheet and
// fresh working values, so nothing of an earlier bill can leak into it.
//
// Before the calculation runs, the prices and dates are checked: the batch
// calculator refuses a price list with a text that is no number, and a date
// that does not exist, rather than leave lines unpriced or guess a period.
class WebBiller {
public:
    explicit WebBiller(char decimalSeparator);
    WebBiller(const WebBiller&) = delete;
    WebBiller& operator=(const WebBiller&) = delete;

    // The message the page shows instead of the bill, or an empty text when
    // the sheet holds a bill. After the reading check's message the sheet
    // still holds the readings as the calculation left them ("0" for an
    // empty one).
    std::string_view bill(const BillInputs& inputs);

    // The sheet of the last bill, or nullptr when the last call was refused
    // before the calculation ran (the sheet then is an earlier bill's).
    const billing::BillSheet* sheet() const { return m_ran ? &m_sheet : nullptr; }
    // The control to give the keyboard focus after the message: the first
    // reading after the reading check (as the calculation moves it), the
    // refused price or date otherwise.
    std::string_view focusTarget() const { return m_focus; }
    const billing::NumberText& numbers() const { return m_numbers; }

private:
    // Keeps the text of the message the calculation shows.
    class RecordedNotice final : public billing::Notice {
    public:
        void show(std::string_view text, std::string_view /*caption*/) override { m_text = text; }
        std::string_view text() const { return m_text; }

    private:
        std::string_view m_text;
    };

    static std::optional<std::chrono::sys_days> day(const CalendarDate& date);

    billing::NumberText m_numbers;
    billing::MemorySheet m_sheet;
    RecordedNotice m_notice;
    std::string m_refusal;
    bool m_ran = false;
    std::string_view m_focus;
    // Declared after the sheet: it stops listening to the sheet when it goes.
    billing::Obracun m_obracun;
};

} // namespace kaldora::web
