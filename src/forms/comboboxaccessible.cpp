#include "forms/comboboxaccessible.h"

#include "forms/combobox.h"

#include <QAbstractItemView>
#include <QLineEdit>

namespace kaldora::forms {

namespace {

// The children, in Qt's order: the list, then the text part.
constexpr int kList = 0;
constexpr int kTextPart = 1;

} // namespace

ComboBoxAccessible::ComboBoxAccessible(QWidget* comboBox)
    : QAccessibleWidget(comboBox, QAccessible::ComboBox)
{
}

QAccessibleInterface* ComboBoxAccessible::create(const QString& className, QObject* object)
{
    auto* box = qobject_cast<ComboBox*>(object);
    if (box == nullptr || className != QLatin1String(ComboBox::staticMetaObject.className())) {
        return nullptr;
    }
    return new ComboBoxAccessible(box);
}

QComboBox* ComboBoxAccessible::comboBox() const
{
    return static_cast<QComboBox*>(widget());
}

QString ComboBoxAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value) {
        return comboBox()->currentText();
    }
    // The name: the accessible name, else the label that captions the box.
    return QAccessibleWidget::text(t);
}

int ComboBoxAccessible::childCount() const
{
    return comboBox()->lineEdit() != nullptr ? kTextPart + 1 : kList + 1;
}

QAccessibleInterface* ComboBoxAccessible::child(int index) const
{
    if (index == kList) {
        return QAccessible::queryAccessibleInterface(comboBox()->view());
    }
    if (index == kTextPart && comboBox()->lineEdit() != nullptr) {
        return QAccessible::queryAccessibleInterface(comboBox()->lineEdit());
    }
    return nullptr;
}

int ComboBoxAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (child->object() == comboBox()->view()) {
        return kList;
    }
    if (comboBox()->lineEdit() != nullptr && child->object() == comboBox()->lineEdit()) {
        return kTextPart;
    }
    return -1;
}

QAccessibleInterface* ComboBoxAccessible::focusChild() const
{
    // The combo box holds the focus for its text part, where the caret is.
    return comboBox()->lineEdit() != nullptr ? child(kTextPart) : nullptr;
}

QStringList ComboBoxAccessible::actionNames() const
{
    return {showMenuAction(), pressAction()};
}

void ComboBoxAccessible::doAction(const QString& actionName)
{
    if (actionName != showMenuAction() && actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (comboBox()->view()->isVisible()) {
        comboBox()->hidePopup();
    } else {
        comboBox()->showPopup();
    }
}

} // namespace kaldora::forms
