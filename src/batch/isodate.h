#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace kaldora::batch {

// Reads a calendar date written YYYY-MM-DD: exactly four, two and two digits
// with hyphens, nothing around them, and a day that exists in that month
// ("2024-02-29" yes, "2023-02-29" and "2024-02-30" no). Any other form, such
// as "31.03.2024", is refused rather than guessed at: a guessed date would
// silently change the number of days and with it the zone limits.
std::optional<std::chrono::sys_days> parseIsoDate(std::string_view text);

} // namespace kaldora::batch
