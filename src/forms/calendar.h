#pragma once

#include <QCalendarWidget>

namespace kaldora::forms {

// The drop-down calendar of the date pickers, in Serbian Latin: month and
// day names come from the Serbian Latin locale and are shown in capitals
// without diacritics ("JANUAR", "CET"), as every other text of the program.
// The weeks start on Monday. Qt cannot be left to pick the locale: it drops
// "@latin" from sr_RS@latin and would show Cyrillic names. The parts of the
// calendar that a user can reach carry names for screen readers.
class Calendar final : public QCalendarWidget {
    Q_OBJECT

public:
    explicit Calendar(QWidget* parent = nullptr);

    // The text shown in the header above the days of `column`, counted from
    // the first day of the week.
    QString dayHeader(int column) const;

    // `text` in capitals, with the diacritics of Serbian Latin dropped
    // ("čet" gives "CET", "đ" gives "DJ").
    static QString plainCapitals(const QString& text);
};

} // namespace kaldora::forms
