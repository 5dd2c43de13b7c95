#pragma once

#include "platform/clock.h"

#include <chrono>
#include <vector>

namespace kaldora::tests {

// A clock that stands on chosen days: the n-th reading returns the n-th day,
// and the last day for every later reading.
class FixedClock final : public platform::Clock {
public:
    explicit FixedClock(std::vector<std::chrono::sys_days> days);
    std::chrono::sys_days today() const override;
    int reads() const { return m_reads; }

private:
    std::vector<std::chrono::sys_days> m_days;
    mutable int m_reads = 0;
};

// A calendar day, for readable test data.
std::chrono::sys_days day(int year, unsigned month, unsigned dayOfMonth);

} // namespace kaldora::tests
