#include "billing/billsheet.h"

#include <array>

namespace kaldora::billing {

namespace {

constexpr std::array<std::string_view, kFieldCount> kNames = {
    "Text1",  "Text2",  "Text3",  "Text4",  "Text5",  "Text6",  "Text7",  "Text8",  "Text9",
    "Text10", "Text11", "Text12", "Text13", "Text14", "Text15", "Text16", "Text17", "Text18",
    "Text19", "Text20", "Text21", "Text22", "Text23", "Text24", "Text25", "Text26", "Text27",
    "Text28", "Text29", "Text30", "Text31", "Text32", "Combo1", "Combo2",
};

// The row of each field that is a zone quantity, -1 for the others: looked
// up on every write of every field.
constexpr auto kQuantityRows = [] {
    std::array<int, kFieldCount> rows{};
    rows.fill(-1);
    for (std::size_t row = 0; row < kPriceRowCount; ++row) {
        rows[static_cast<std::size_t>(fieldIndex(kQuantityFields[row]))] = static_cast<int>(row);
    }
    return rows;
}();

} // namespace

std::string_view fieldName(Field f)
{
    return kNames[static_cast<std::size_t>(f)];
}

int quantityRow(Field f)
{
    return kQuantityRows[static_cast<std::size_t>(fieldIndex(f))];
}

void BillSheet::notifyQuantityChanged(Field f)
{
    if (m_listener != nullptr && quantityRow(f) >= 0) {
        m_listener->quantityChanged(f);
    }
}

} // namespace kaldora::billing
