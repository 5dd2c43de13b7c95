#include "forms/datepicker.h"

#include "forms/calendar.h"

namespace kaldora::forms {

namespace {

const QDate kFirstPickerDate(1601, 1, 1);
const QDate kLastPickerDate(9999, 12, 31);
// Numbers read the same in every locale; month names would be Cyrillic for
// sr_RS@latin, which Qt takes for sr_RS.
const QString kPickerFormat = QStringLiteral("dd.MM.yyyy");

} // namespace

DatePicker::DatePicker(QWidget* parent)
    : QDateEdit(parent)
{
    setDateRange(kFirstPickerDate, kLastPickerDate);
    setDisplayFormat(kPickerFormat);
    // The calendar is only taken after the pop-up is switched on.
    setCalendarPopup(true);
    setCalendarWidget(new Calendar(this));
}

Calendar* DatePicker::calendar() const
{
    // Set once in the constructor and never replaced.
    return qobject_cast<Calendar*>(calendarWidget());
}

bool DatePicker::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}

} // namespace kaldora::forms
