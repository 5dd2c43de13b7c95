#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace kaldora::forms {

// What a screen reader learns of a ComboBox: its accessible name as the
// name and its text as the value. Qt's own interface for combo boxes names
// them by their text on Linux and leaves the purpose to the label beside
// them, so "VRSTA BROJILA" would be read as "TROFAZNO". Like Qt's, it
// offers the dropped-down list and the text part as its children and an
// action that drops the list down.
class ComboBoxAccessible final : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QWidget* comboBox);

    // The factory for QAccessible::installFactory: this interface for a
    // ComboBox, none for anything else.
    static QAccessibleInterface* create(const QString& className, QObject* object);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QComboBox* comboBox() const;
};

} // namespace kaldora::forms
