#pragma once

#include <chrono>

namespace kaldora::platform {

// Today's date, without a time of day. The main window's start-up asks it for
// the two reading dates; tests hand in a clock that stands on a chosen day.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::sys_days today() const = 0;
};

} // namespace kaldora::platform
