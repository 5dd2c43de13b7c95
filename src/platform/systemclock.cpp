#include "platform/systemclock.h"

#include "platform/dateconversion.h"

#include <QDate>

namespace kaldora::platform {

std::chrono::sys_days SystemClock::today() const
{
    return toSysDays(QDate::currentDate());
}

} // namespace kaldora::platform
