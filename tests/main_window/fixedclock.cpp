#include "fixedclock.h"

#include <algorithm>

namespace kaldora::tests {

FixedClock::FixedClock(std::vector<std::chrono::sys_days> days)
    : m_days(std::move(days))
{
}

std::chrono::sys_days FixedClock::today() const
{
    const auto index = std::min<std::size_t>(static_cast<std::size_t>(m_reads), m_days.size() - 1);
    ++m_reads;
    return m_days[index];
}

std::chrono::sys_days day(int year, unsigned month, unsigned dayOfMonth)
{
    return std::chrono::sys_days(std::chrono::year(year) / std::chrono::month(month) /
                                 std::chrono::day(dayOfMonth));
}

} // namespace kaldora::tests
