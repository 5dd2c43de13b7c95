#include "batch/rowbiller.h"

#include "billing/obracun.h"

#include <cstddef>

namespace kaldora::batch {

namespace {

// Keeps the text of the message the calculation shows instead of showing it.
// The calculation's messages are constants, so the view outlives the run.
class RecordedNotice final : public billing::Notice {
public:
    void show(std::string_view text, std::string_view /*caption*/) override { m_text = text; }
    std::string_view text() const { return m_text; }

private:
    std::string_view m_text;
};

} // namespace

RowBiller::RowBiller(const CheckedPrices& prices, const billing::NumberText& numbers)
    : m_prices(prices)
    , m_numbers(numbers)
{
}

std::string_view RowBiller::bill(const MeterReadings& readings, billing::MemorySheet& sheet) const
{
    using billing::DateField;
    using billing::Field;

    sheet.clear();
    sheet.setText(Field::Text1, readings.novoVt);
    sheet.setText(Field::Text2, readings.novoMt);
    sheet.setText(Field::Text4, readings.staroVt);
    sheet.setText(Field::Text5, readings.staroMt);
    sheet.setDate(DateField::DTPicker1, readings.datum);
    sheet.setDate(DateField::DTPicker2, readings.prethodniDatum);
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        sheet.setText(billing::kPriceFields[row], m_prices[row]);
    }

    RecordedNotice notice;
    billing::Obracun obracun(sheet, m_numbers, notice);
    obracun.run();
    return notice.text();
}

} // namespace kaldora::batch
