#pragma once

#include "billing/billsheet.h"

#include <QHash>
#include <QMetaObject>
#include <QString>

#include <array>
#include <vector>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QWidget;

namespace kaldora::main_window {

// The main window's controls seen as the bill sheet: the calculation reads and
// writes Text1..Text32, the two combo texts and the two dates through it. It
// holds no texts of its own; the widgets are the data.
//
// A write from code goes through BillSheet::setText, which runs a quantity
// field's reaction once. The line edits' own signals never run it for such a
// write: only textEdited, which QLineEdit emits for the user's edits alone, is
// connected.
class Form2Sheet final : public billing::BillSheet {
public:
    // `controls` are the window's controls by name; every field must be there.
    explicit Form2Sheet(const QHash<QString, QWidget*>& controls);
    ~Form2Sheet() override;
    Form2Sheet(const Form2Sheet&) = delete;
    Form2Sheet& operator=(const Form2Sheet&) = delete;

    std::string_view text(billing::Field f) const override;
    std::chrono::sys_days date(billing::DateField d) const override;
    void focus(billing::Field f) override;

    void setDate(billing::DateField d, std::chrono::sys_days day);

protected:
    void storeText(billing::Field f, std::string_view text) override;

private:
    static constexpr int kTextFields = 32;

    std::array<QLineEdit*, kTextFields> m_texts{};
    std::array<QComboBox*, 2> m_combos{};
    std::array<QDateEdit*, 2> m_dates{};
    std::vector<QMetaObject::Connection> m_connections;
    // The UTF-8 texts last read, which text() hands out views of.
    mutable std::array<std::string, billing::kFieldCount> m_read;
};

} // namespace kaldora::main_window
