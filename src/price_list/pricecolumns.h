#pragma once

#include <QString>

#include <array>
#include <cstddef>

namespace kaldora::price_list {

// The six unit prices in dinars per kWh, always in this row order: zone 1
// (green) V.T., zone 1 M.T., zone 2 (blue) V.T., zone 2 M.T., zone 3 (red)
// V.T., zone 3 M.T. Row i is the window's field Text(11 + i).
inline constexpr std::size_t kPriceCount = 6;

// The prices as the fields show them. They travel as texts, unchanged, from
// the price list to the main window.
using PriceTexts = std::array<QString, kPriceCount>;

inline constexpr const char* kTableName = "cenovnik";
inline constexpr const char* kFileName = "cenovnik.db";

// The columns of the table, in row order.
inline constexpr std::array<const char*, kPriceCount> kPriceColumns = {
    "zelenavt", "zelenamt", "plavavt", "plavamt", "crvenavt", "crvenamt",
};

// How a message names a row to the user: the window tells the zones apart
// only by the colour of their fields.
inline constexpr std::array<const char*, kPriceCount> kPriceRowNames = {
    "ZELENA ZONA V.T.", "ZELENA ZONA M.T.", "PLAVA ZONA V.T.",
    "PLAVA ZONA M.T.",  "CRVENA ZONA V.T.", "CRVENA ZONA M.T.",
};

// The price list a new store starts with.
inline constexpr std::array<double, kPriceCount> kDefaultPrices = {3.1,  1.55, 4.65,
                                                                   2.33, 9.3,  4.65};

} // namespace kaldora::price_list
