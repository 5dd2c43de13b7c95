#include "forms/datepicker.h"

#include "forms/calendar.h"

#include <QLineEdit>
#include <QMouseEvent>

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
    setCalendarPopup(true);
    lineEdit()->installEventFilter(this);
}

Calendar* DatePicker::calendar()
{
    // Made on first use: building a calendar takes a few milliseconds, twice
    // at every start of the main window, and most bills are made without
    // opening one. Once set it is never replaced.
    if (m_calendar == nullptr) {
        m_calendar = new Calendar(this);
        // Taken only while the pop-up is switched on, as it is from the start.
        setCalendarWidget(m_calendar);
    }
    return m_calendar;
}

void DatePicker::mousePressEvent(QMouseEvent* event)
{
    // A press on the arrow opens the pop-up, for which QDateEdit would
    // otherwise make a calendar of its own, in Cyrillic for sr_RS@latin.
    calendar();
    QDateEdit::mousePressEvent(event);
}

bool DatePicker::eventFilter(QObject* watched, QEvent* event)
{
    // QDateEdit leaves the cursor where the click put it, and digits typed
    // inside a part that is already full are refused: a click between the
    // two digits of the day and "15" typed changed nothing. The part
    // clicked on is selected instead, as a date picker of Windows does; by
    // now the press has put the cursor into it.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        setSelectedSection(currentSection());
    }
    return QDateEdit::eventFilter(watched, event);
}

bool DatePicker::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}

} // namespace kaldora::forms
