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

} // namespace

std::string_view fieldName(Field f)
{
    return kNames[static_cast<std::size_t>(f)];
}

int quantityRow(Field f)
{
    for (std::size_t row = 0; row < kPriceRowCount; ++row) {
        if (kQuantityFields[row] == f) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

void BillSheet::setText(Field f, std::string_view text)
{
    storeText(f, text);
    notifyQuantityChanged(f);
}

void BillSheet::notifyQuantityChanged(Field f)
{
    if (m_listener != nullptr && quantityRow(f) >= 0) {
        m_listener->quantityChanged(f);
    }
}

} // namespace kaldora::billing
