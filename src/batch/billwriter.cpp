#include "batch/billwriter.h"

namespace kaldora::batch {

namespace {

using billing::Field;

struct OutputColumn {
    std::string_view name;
    Field field;
};

// The bill in the order the window reads it: consumption and days, the six
// zone quantities, the six line amounts, then the charges and totals.
constexpr OutputColumn kOutputColumns[] = {
    {"potrosnja_vt", Field::Text29}, {"potrosnja_mt", Field::Text30}, {"ukupno", Field::Text31},
    {"dana", Field::Text32},         {"zona1_vt", Field::Text3},      {"zona1_mt", Field::Text6},
    {"zona2_vt", Field::Text7},      {"zona2_mt", Field::Text8},      {"zona3_vt", Field::Text9},
    {"zona3_mt", Field::Text10},     {"iznos1_vt", Field::Text17},    {"iznos1_mt", Field::Text18},
    {"iznos2_vt", Field::Text19},    {"iznos2_mt", Field::Text20},    {"iznos3_vt", Field::Text21},
    {"iznos3_mt", Field::Text22},    {"energija", Field::Text23},     {"naknada", Field::Text24},
    {"snaga", Field::Text25},        {"bez_pdv", Field::Text26},      {"pdv", Field::Text27},
    {"sa_pdv", Field::Text28},
};
constexpr std::string_view kIdColumn = "id";
constexpr std::string_view kErrorColumn = "greska";

} // namespace

BillWriter::BillWriter(const CheckedPrices& prices, const billing::NumberText& numbers, bool withId)
    : m_biller(std::make_unique<RowBiller>(prices, numbers))
    , m_withId(withId)
{
}

void BillWriter::writeHeader(CsvWriter& out) const
{
    if (m_withId) {
        out.field(kIdColumn);
    }
    for (const OutputColumn& column : kOutputColumns) {
        out.field(column.name);
    }
    out.field(kErrorColumn);
    out.endRecord();
}

std::size_t BillWriter::write(std::span<const MeterRow> rows, CsvWriter& out)
{
    std::size_t refusedRows = 0;
    for (const MeterRow& row : rows) {
        const std::string_view message = m_biller->bill(row.readings);
        if (m_withId) {
            out.field(row.id);
        }
        // A meter whose readings were refused has no bill, only the message.
        const bool refused = !message.empty();
        refusedRows += refused ? 1 : 0;
        for (const OutputColumn& column : kOutputColumns) {
            if (refused) {
                out.field({});
            } else {
                out.field(m_biller->sheet().text(column.field));
            }
        }
        out.field(message);
        out.endRecord();
    }
    return refusedRows;
}

} // namespace kaldora::batch
