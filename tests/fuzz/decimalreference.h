#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kaldora::fuzz {

// A number text of the program taken apart into its decimal digits, with no
// arithmetic on doubles: the value is sign x 0.d1d2...dn x 10^pointPlace.
// The fuzz targets check the program's formatting against it.
struct DecimalText {
    bool negative = false;
    std::string digits;
    int pointPlace = 0;

    // Reads "[-]d[<sep>ddd][E[+-]xx]", the shape of the general number text;
    // nullopt for anything else.
    static std::optional<DecimalText> read(std::string_view text, char separator);

    // The power of ten of the last digit written: 0 for "30", -2 for "0,25",
    // 294 for "1,79769313486232E+308".
    int lastPlace() const { return pointPlace - static_cast<int>(digits.size()); }

    // The number rounded to `decimals` places, halves away from zero, and
    // written plainly: "-12", "0,50"; no minus when every digit is zero.
    std::string rounded(int decimals, char separator) const;
};

} // namespace kaldora::fuzz
