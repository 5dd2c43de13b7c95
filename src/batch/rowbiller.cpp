#include "batch/rowbiller.h"

#include <cstddef>

namespace kaldora::batch {

RowBiller::RowBiller(const CheckedPrices& prices, const billing::NumberText& numbers)
    : m_obracun(m_sheet, numbers, m_notice)
{
    // The prices are the same for every meter: written once, they stay
    // when the rest of the sheet is emptied for the next meter.
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        m_sheet.setText(billing::kPriceFields[row], prices[row]);
    }
}

std::string_view RowBiller::bill(const MeterReadings& readings)
{
    using billing::DateField;
    using billing::Field;

    m_sheet.clearExcept(billing::kPriceFields);
    m_notice.clear();
    m_obracun.clearValues();
    m_sheet.setText(Field::Text1, readings.novoVt);
    m_sheet.setText(Field::Text2, readings.novoMt);
    m_sheet.setText(Field::Text4, readings.staroVt);
    m_sheet.setText(Field::Text5, readings.staroMt);
    m_sheet.setDate(DateField::DTPicker1, readings.datum);
    m_sheet.setDate(DateField::DTPicker2, readings.prethodniDatum);
    m_obracun.run();
    return m_notice.text();
}

} // namespace kaldora::batch
