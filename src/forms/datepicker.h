#pragma once

#include <QDateEdit>

namespace kaldora::forms {

class Calendar;

// A date picker: a date in numbers (dd.MM.yyyy) with a drop-down calendar in
// Serbian Latin, for dates from 1 January 1601 to 31 December 9999. Tab and
// Shift+Tab leave it at once, as they leave every other control; QDateEdit
// would walk its day, month and year first, which are reached with the
// arrow keys and the calendar instead. A click into the day, month or year
// selects it whole, so that the digits typed next replace it.
class DatePicker final : public QDateEdit {
    Q_OBJECT

public:
    explicit DatePicker(QWidget* parent = nullptr);

    // The drop-down calendar, made when first needed.
    Calendar* calendar();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Calendar* m_calendar = nullptr;
};

} // namespace kaldora::forms
