#pragma once

#include "platform/clock.h"

namespace kaldora::platform {

// The system clock's date in the user's time zone: the date the user sees on
// the desktop, not the UTC date.
class SystemClock final : public Clock {
public:
    std::chrono::sys_days today() const override;
};

} // namespace kaldora::platform
