#pragma once

#include "billing/numbertext.h"
#include "billing/pricerows.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kaldora::batch {

// The six unit prices as the bill sheet holds them, in the bill's row order
// (billing::kPriceRows). They are texts, kept exactly as given, because the window too prices each
// line from the text of its price field. Every text has been checked to be
// a number in the locale, so no line of any bill is left unpriced.
class CheckedPrices {
public:
    using Texts = std::array<std::string, billing::kPriceRowCount>;

    // Six texts from wherever the caller keeps prices; nullopt and a message
    // naming the first text that is not a number.
    static std::optional<CheckedPrices> fromTexts(Texts texts, const billing::NumberText& numbers,
                                                  std::string& error);

    // The list "3,10;1,55;4,65;2,33;9,30;4,65": six texts separated by ';'.
    static std::optional<CheckedPrices>
    fromList(std::string_view list, const billing::NumberText& numbers, std::string& error);

    const std::string& operator[](std::size_t row) const { return m_texts[row]; }

private:
    explicit CheckedPrices(Texts texts)
        : m_texts(std::move(texts))
    {
    }

    Texts m_texts;
};

} // namespace kaldora::batch
