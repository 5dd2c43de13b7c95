#include "webbiller.h"

#include "billing/pricerows.h"

namespace kaldora::web {

namespace {

constexpr std::string_view kBadDatum = "DATUM OCITAVANJA NIJE ISPRAVAN!!!";
constexpr std::string_view kBadPrethodniDatum = "DATUM PRETHODNOG OCITAVANJA NIJE ISPRAVAN!!!";

} // namespace

WebBiller::WebBiller(char decimalSeparator)
    : m_numbers(decimalSeparator)
    , m_obracun(m_sheet, m_numbers, m_notice)
{
}

std::optional<std::chrono::sys_days> WebBiller::day(const CalendarDate& date)
{
    const std::chrono::year_month_day ymd{std::chrono::year(date.year),
                                          std::chrono::month(static_cast<unsigned>(date.month)),
                                          std::chrono::day(static_cast<unsigned>(date.day))};
    if (!ymd.ok()) {
        return std::nullopt;
    }
    return std::chrono::sys_days(ymd);
}

std::string_view WebBiller::bill(const BillInputs& inputs)
{
    using billing::DateField;
    using billing::Field;

    m_ran = false;
    m_focus = {};
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        if (!m_numbers.parse(inputs.prices[row])) {
            m_refusal = "CENA ";
            m_refusal += billing::kPriceRows[row].name;
            m_refusal += " NIJE BROJ: \"";
            m_refusal += inputs.prices[row];
            m_refusal += "\"";
            m_focus = billing::fieldName(billing::kPriceFields[row]);
            return m_refusal;
        }
    }
    const auto datum = day(inputs.datum);
    if (!datum) {
        m_focus = "DTPicker1";
        return kBadDatum;
    }
    const auto prethodniDatum = day(inputs.prethodniDatum);
    if (!prethodniDatum) {
        m_focus = "DTPicker2";
        return kBadPrethodniDatum;
    }

    m_sheet.clear();
    m_notice.show({}, {});
    m_obracun.clearValues();
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        m_sheet.setText(billing::kPriceFields[row], inputs.prices[row]);
    }
    m_sheet.setText(Field::Text1, inputs.novoVt);
    m_sheet.setText(Field::Text2, inputs.novoMt);
    m_sheet.setText(Field::Text4, inputs.staroVt);
    m_sheet.setText(Field::Text5, inputs.staroMt);
    m_sheet.setDate(DateField::DTPicker1, *datum);
    m_sheet.setDate(DateField::DTPicker2, *prethodniDatum);
    m_obracun.run();
    m_ran = true;
    if (const auto focused = m_sheet.focused()) {
        m_focus = billing::fieldName(*focused);
    }
    return m_notice.text();
}

} // namespace kaldora::web
