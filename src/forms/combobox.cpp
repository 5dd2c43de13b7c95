#include "forms/combobox.h"

#include "forms/comboboxaccessible.h"

#include <QAccessible>
#include <QLineEdit>

namespace kaldora::forms {

ComboBox::ComboBox(QWidget* parent)
    : QComboBox(parent)
{
    // Once for the program, before a screen reader can ask about a box.
    [[maybe_unused]] static const bool accessible = [] {
        QAccessible::installFactory(&ComboBoxAccessible::create);
        return true;
    }();

    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The text part keeps exactly what the user types: no completion from
    // the list slips an entry in.
    setCompleter(nullptr);
    // QComboBox picks the entry whose text was typed when its text part
    // reports Enter or loses the focus, also when the key comes through the
    // combo box, which holds the focus. Those two connections are cut, and
    // Enter is left to the window. (Where Qt makes no such connection,
    // nothing is cut.)
    QObject::disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
    QObject::disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
}

} // namespace kaldora::forms
