#pragma once

#include <QDate>

#include <chrono>

namespace kaldora::platform {

// QDate counts Julian days, the bill sheet counts days since 1970-01-01; the
// two differ by a constant, so the conversion is exact over the date pickers'
// whole range (1601 to 9999).
inline constexpr qint64 kJulianDayOf1970 = 2440588;

inline std::chrono::sys_days toSysDays(const QDate& date)
{
    return std::chrono::sys_days(std::chrono::days(date.toJulianDay() - kJulianDayOf1970));
}

inline QDate toQDate(std::chrono::sys_days day)
{
    return QDate::fromJulianDay(day.time_since_epoch().count() + kJulianDayOf1970);
}

} // namespace kaldora::platform
