#pragma once

#include "billing/memorysheet.h"
#include "billing/numbertext.h"
#include "billing/obracun.h"
#include "support/recordingmessagebox.h"

#include <array>
#include <chrono>
#include <string>
#include <string_view>

namespace kaldora::billing::test {

using Texts6 = std::array<std::string, 6>;

// The unit prices of the worked examples, in row order.
inline const Texts6 kCommaPrices = {"3,10", "1,55", "4,65", "2,33", "9,30", "4,65"};
inline const Texts6 kPeriodPrices = {"3.10", "1.55", "4.65", "2.33", "9.30", "4.65"};

inline constexpr std::chrono::sys_days kNewReadingDay{std::chrono::year{2024} / 3 / 31};

template <class Sheet> void setPeriod(Sheet& sheet, int days)
{
    sheet.setDate(DateField::DTPicker1, kNewReadingDay);
    sheet.setDate(DateField::DTPicker2, kNewReadingDay - std::chrono::days{days});
}

inline void setReadings(BillSheet& sheet, std::string_view newVt, std::string_view newMt,
                        std::string_view oldVt, std::string_view oldMt)
{
    sheet.setText(Field::Text1, newVt);
    sheet.setText(Field::Text2, newMt);
    sheet.setText(Field::Text4, oldVt);
    sheet.setText(Field::Text5, oldMt);
}

inline void setPrices(BillSheet& sheet, const Texts6& prices)
{
    for (int row = 0; row < 6; ++row) {
        sheet.setText(kPriceFields[row], prices[row]);
    }
}

inline Texts6 texts(const BillSheet& sheet, const RowFields& fields)
{
    Texts6 out;
    for (int row = 0; row < 6; ++row) {
        out[row] = sheet.text(fields[row]);
    }
    return out;
}

// Every text of the sheet, to prove that a step touched nothing else.
inline std::array<std::string, kFieldCount> snapshot(const BillSheet& sheet)
{
    std::array<std::string, kFieldCount> out;
    for (int i = 0; i < kFieldCount; ++i) {
        out[i] = sheet.text(static_cast<Field>(i));
    }
    return out;
}

// One main window's worth of calculation: a sheet in memory with the example
// prices and a 30-day period, and the command working on it.
class BillFixture {
protected:
    explicit BillFixture(char separator = ',')
        : m_numbers(separator)
        , m_obracun(m_sheet, m_numbers, m_notice)
    {
        setPrices(m_sheet, separator == ',' ? kCommaPrices : kPeriodPrices);
        setPeriod(m_sheet, 30);
    }

    // Old readings 0, so the new readings are the consumption.
    void bill(std::string_view vt, std::string_view mt)
    {
        setReadings(m_sheet, vt, mt, "0", "0");
        m_obracun.run();
    }

    MemorySheet m_sheet;
    NumberText m_numbers;
    tests::RecordingMessageBox m_notice;
    Obracun m_obracun;
};

} // namespace kaldora::billing::test
