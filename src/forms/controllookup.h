#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

namespace kaldora::forms {

// A window's controls by key, as buildControls() returns them.
using Controls = QHash<QString, QWidget*>;

// Throws std::logic_error naming the control and the kind the code expected:
// the layout table and the code that uses it disagree, which no user action
// can cause or mend.
[[noreturn]] void controlMismatch(const QString& key, const char* expectedKind,
                                  const QWidget* found);

// The control `key` of a built window, as the kind of widget the code
// expects, e.g. control<QLineEdit>(controls, "Text1"). Never null: a missing
// control or one of another kind throws (see controlMismatch).
template <class Widget> Widget* control(const Controls& controls, const QString& key)
{
    QWidget* found = controls.value(key);
    auto* typed = qobject_cast<Widget*>(found);
    if (typed == nullptr) {
        controlMismatch(key, Widget::staticMetaObject.className(), found);
    }
    return typed;
}

template <class Widget> Widget* control(const Controls& controls, const char* key)
{
    return control<Widget>(controls, QString::fromLatin1(key));
}

} // namespace kaldora::forms
