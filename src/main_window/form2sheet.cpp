#include "main_window/form2sheet.h"

#include "forms/controllookup.h"
#include "platform/dateconversion.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

namespace kaldora::main_window {

namespace {

using billing::DateField;
using billing::Field;

constexpr const char* kDateNames[] = {"DTPicker1", "DTPicker2"};

// A layout without one of the sheet's fields is a programming error, which
// the look-up reports by throwing.
template <typename W> W* find(const QHash<QString, QWidget*>& controls, std::string_view name)
{
    return forms::control<W>(controls,
                             QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

Form2Sheet::Form2Sheet(const QHash<QString, QWidget*>& controls)
{
    for (int i = 0; i < kTextFields; ++i) {
        m_texts[i] = find<QLineEdit>(controls, billing::fieldName(billing::textField(i + 1)));
    }
    m_combos[0] = find<QComboBox>(controls, billing::fieldName(Field::Combo1));
    m_combos[1] = find<QComboBox>(controls, billing::fieldName(Field::Combo2));
    for (int i = 0; i < 2; ++i) {
        m_dates[i] = find<QDateEdit>(controls, kDateNames[i]);
    }
    // Any change of a text, also one the user makes, changes the field's
    // revision, so that the calculation reads the field afresh.
    for (int i = 0; i < kTextFields; ++i) {
        const Field f = billing::textField(i + 1);
        m_connections.push_back(
            QObject::connect(m_texts[i], &QLineEdit::textChanged, [this, f] { noteChanged(f); }));
    }
    for (int i = 0; i < 2; ++i) {
        const Field f = i == 0 ? Field::Combo1 : Field::Combo2;
        m_connections.push_back(QObject::connect(m_combos[i], &QComboBox::editTextChanged,
                                                 [this, f] { noteChanged(f); }));
    }
    // QLineEdit may tell of an edit before it tells of the change, so the
    // revision moves here too, before the reaction reads the quantity.
    for (Field f : billing::kQuantityFields) {
        m_connections.push_back(
            QObject::connect(m_texts[billing::fieldIndex(f)], &QLineEdit::textEdited, [this, f] {
                noteChanged(f);
                notifyQuantityChanged(f);
            }));
    }
}

Form2Sheet::~Form2Sheet()
{
    for (const auto& connection : m_connections) {
        QObject::disconnect(connection);
    }
}

std::string_view Form2Sheet::text(Field f) const
{
    std::string& read = m_read[static_cast<std::size_t>(billing::fieldIndex(f))];
    if (f == Field::Combo1 || f == Field::Combo2) {
        read = m_combos[f == Field::Combo1 ? 0 : 1]->currentText().toStdString();
    } else {
        read = m_texts[billing::fieldIndex(f)]->text().toStdString();
    }
    return read;
}

void Form2Sheet::storeText(Field f, std::string_view text)
{
    if (f == Field::Combo1 || f == Field::Combo2) {
        m_combos[f == Field::Combo1 ? 0 : 1]->setCurrentText(fromUtf8(text));
        return;
    }
    m_texts[billing::fieldIndex(f)]->setText(fromUtf8(text));
}

std::chrono::sys_days Form2Sheet::date(DateField d) const
{
    return platform::toSysDays(m_dates[static_cast<int>(d)]->date());
}

void Form2Sheet::setDate(DateField d, std::chrono::sys_days day)
{
    m_dates[static_cast<int>(d)]->setDate(platform::toQDate(day));
}

void Form2Sheet::focus(Field f)
{
    QWidget* target = (f == Field::Combo1 || f == Field::Combo2)
                          ? static_cast<QWidget*>(m_combos[f == Field::Combo1 ? 0 : 1])
                          : m_texts[billing::fieldIndex(f)];
    target->setFocus(Qt::OtherFocusReason);
}

} // namespace kaldora::main_window
