#pragma once

#include "billing/pricerows.h"

#include <QString>

#include <array>
#include <cstddef>
#include <string_view>

namespace kaldora::price_list {

// The prices of one record as the fields show them, in the bill's row order
// (billing::kPriceRows); row i is the window's field Text(11 + i). They
// travel as texts, unchanged, from the price list to the main window.
using PriceTexts = std::array<QString, billing::kPriceRowCount>;

// The table column of a row's price, and the row's name in messages.
inline QString columnName(std::size_t row)
{
    const std::string_view column = billing::kPriceRows[row].column;
    return QString::fromLatin1(column.data(), static_cast<qsizetype>(column.size()));
}
inline QString rowName(std::size_t row)
{
    const std::string_view name = billing::kPriceRows[row].name;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

inline constexpr const char* kTableName = "cenovnik";
inline constexpr const char* kFileName = "cenovnik.db";

} // namespace kaldora::price_list
