#include "batch/isodate.h"

namespace kaldora::batch {

namespace {

constexpr std::size_t kIsoDateLength = 10;
constexpr std::size_t kFirstHyphen = 4;
constexpr std::size_t kSecondHyphen = 7;

bool readDigits(std::string_view text, std::size_t first, std::size_t count, int& value)
{
    value = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

} // namespace

std::optional<std::chrono::sys_days> parseIsoDate(std::string_view text)
{
    if (text.size() != kIsoDateLength || text[kFirstHyphen] != '-' || text[kSecondHyphen] != '-') {
        return std::nullopt;
    }
    int year = 0;
    int month = 0;
    int day = 0;
    if (!readDigits(text, 0, 4, year) || !readDigits(text, kFirstHyphen + 1, 2, month) ||
        !readDigits(text, kSecondHyphen + 1, 2, day)) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok()) {
        return std::nullopt;
    }
    return std::chrono::sys_days(date);
}

} // namespace kaldora::batch
