#include "forms/calendar.h"

#include <QAbstractItemModel>
#include <QItemDelegate>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>

#include <stdexcept>

namespace kaldora::forms {

namespace {

const QLocale kSerbianLatin(QLocale::Serbian, QLocale::LatinScript, QLocale::Serbia);

// The header row of the calendar's table, above the dates.
constexpr int kHeaderRow = 0;

// Qt's names of the calendar's parts, which it has kept since Qt 4.
const char* const kView = "qt_calendar_calendarview";
const char* const kPreviousMonth = "qt_calendar_prevmonth";
const char* const kNextMonth = "qt_calendar_nextmonth";
const char* const kMonthButton = "qt_calendar_monthbutton";
const char* const kYearButton = "qt_calendar_yearbutton";
const char* const kYearEdit = "qt_calendar_yearedit";

// The names a screen reader speaks for the calendar's parts.
const char* const kCalendarName = "KALENDAR";
const char* const kPreviousMonthName = "PRETHODNI MESEC";
const char* const kNextMonthName = "SLEDECI MESEC";
const char* const kMonthName = "MESEC";
const char* const kYearName = "GODINA";

template <class Part> Part* part(const QCalendarWidget* calendar, const char* name)
{
    auto* found = calendar->findChild<Part*>(QLatin1String(name));
    if (found == nullptr) {
        throw std::logic_error(std::string("the calendar has no part ") + name);
    }
    return found;
}

// Draws the day names of the header in plain capitals. The header has no
// text of its own to set: the calendar takes the names from its locale, and
// the Serbian short name of Thursday is "čet". The dates are drawn by the
// calendar's own delegate, as before.
class DayHeaderDelegate final : public QItemDelegate {
public:
    DayHeaderDelegate(QAbstractItemDelegate* dates, QObject* parent)
        : QItemDelegate(parent)
        , m_dates(dates)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        if (index.row() == kHeaderRow) {
            QItemDelegate::paint(painter, option, index);
        } else {
            m_dates->paint(painter, option, index);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return m_dates->sizeHint(option, index);
    }

protected:
    void drawDisplay(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect,
                     const QString& text) const override
    {
        QItemDelegate::drawDisplay(painter, option, rect, Calendar::plainCapitals(text));
    }

private:
    QAbstractItemDelegate* m_dates;
};

QFont capitals()
{
    QFont font;
    font.setCapitalization(QFont::AllUppercase);
    return font;
}

} // namespace

Calendar::Calendar(QWidget* parent)
    : QCalendarWidget(parent)
{
    setLocale(kSerbianLatin);
    setFirstDayOfWeek(Qt::Monday);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // The month button shows the month's name, and its menu lists them all;
    // the calendar sets those texts itself, so capitals come from the font.
    setFont(capitals());
    auto* month = part<QToolButton>(this, kMonthButton);
    if (QMenu* months = month->menu()) {
        months->setFont(capitals());
    }

    auto* view = part<QTableView>(this, kView);
    view->setItemDelegate(new DayHeaderDelegate(view->itemDelegate(), view));

    setAccessibleName(QLatin1String(kCalendarName));
    view->setAccessibleName(QLatin1String(kCalendarName));
    part<QToolButton>(this, kPreviousMonth)->setAccessibleName(QLatin1String(kPreviousMonthName));
    part<QToolButton>(this, kNextMonth)->setAccessibleName(QLatin1String(kNextMonthName));
    month->setAccessibleName(QLatin1String(kMonthName));
    part<QToolButton>(this, kYearButton)->setAccessibleName(QLatin1String(kYearName));
    auto* year = part<QSpinBox>(this, kYearEdit);
    year->setAccessibleName(QLatin1String(kYearName));
    for (QLineEdit* inner : year->findChildren<QLineEdit*>()) {
        inner->setAccessibleName(QLatin1String(kYearName));
    }
}

QString Calendar::dayHeader(int column) const
{
    const QAbstractItemModel* model = part<QTableView>(this, kView)->model();
    return plainCapitals(model->index(kHeaderRow, column).data(Qt::DisplayRole).toString());
}

QString Calendar::plainCapitals(const QString& text)
{
    // Serbian Latin's letters with diacritics decompose into a base letter
    // and a combining mark, all but đ, which is written dj without them.
    constexpr char16_t kSmallDj = u'\u0111';
    constexpr char16_t kCapitalDj = u'\u0110';
    QString plain;
    for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing) {
            continue;
        }
        if (c == QChar(kSmallDj) || c == QChar(kCapitalDj)) {
            plain += QLatin1String("DJ");
            continue;
        }
        plain += c.toUpper();
    }
    return plain;
}

} // namespace kaldora::forms
