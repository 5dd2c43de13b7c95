#pragma once

#include "billing/billsheet.h"

#include <array>
#include <string_view>

namespace kaldora::billing {

// What the rest of the program calls each of the bill's six price rows (see
// kPriceFields): the column of the price-list table that stores its unit
// price, the name a message gives it, and the price a new price list starts
// with, in dinars per kWh. The column names join the zone's colour (zelena
// green, plava blue, crvena red) and the tariff (vt, mt).
struct PriceRow {
    std::string_view column;
    // The windows tell the zones apart only by the colour of their fields,
    // so a message names the colour.
    std::string_view name;
    double defaultPrice;
};

inline constexpr std::array<PriceRow, kPriceRowCount> kPriceRows = {{
    {"zelenavt", "ZELENA ZONA V.T.", 3.1},
    {"zelenamt", "ZELENA ZONA M.T.", 1.55},
    {"plavavt", "PLAVA ZONA V.T.", 4.65},
    {"plavamt", "PLAVA ZONA M.T.", 2.33},
    {"crvenavt", "CRVENA ZONA V.T.", 9.3},
    {"crvenamt", "CRVENA ZONA M.T.", 4.65},
}};

} // namespace kaldora::billing
