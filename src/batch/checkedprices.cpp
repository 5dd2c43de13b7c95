#include "batch/checkedprices.h"

#include <utility>

namespace kaldora::batch {

namespace {

constexpr char kListSeparator = ';';

// The price rows as a user reads them in the window, for messages.
constexpr std::array<std::string_view, billing::kPriceRowCount> kRowNames = {
    "zona 1 V.T.", "zona 1 M.T.", "zona 2 V.T.", "zona 2 M.T.", "zona 3 V.T.", "zona 3 M.T.",
};

} // namespace

std::optional<CheckedPrices>
CheckedPrices::fromTexts(Texts texts, const billing::NumberText& numbers, std::string& error)
{
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        if (!numbers.parse(texts[row])) {
            error = "cena " + std::to_string(row + 1) + " (" +
                    std::string(billing::kPriceRows[row].name) + ") \"" + texts[row] +
                    "\" nije broj sa decimalnim separatorom \"" + numbers.decimalSeparator() + "\"";
            return std::nullopt;
        }
    }
    return CheckedPrices(std::move(texts));
}

std::optional<CheckedPrices> CheckedPrices::fromList(std::string_view list,
                                                     const billing::NumberText& numbers,
                                                     std::string& error)
{
    Texts texts;
    std::size_t count = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = list.find(kListSeparator, start);
        const std::string_view text = list.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (count < billing::kPriceRowCount) {
            texts[count] = text;
        }
        ++count;
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    if (count != billing::kPriceRowCount) {
        error = "cenovnik mora imati tacno " + std::to_string(billing::kPriceRowCount) +
                " cena odvojenih znakom \";\", a ima ih " + std::to_string(count);
        return std::nullopt;
    }
    return fromTexts(std::move(texts), numbers, error);
}

} // namespace kaldora::batch
