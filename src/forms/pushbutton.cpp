#include "forms/pushbutton.h"

#include <QKeyEvent>

namespace kaldora::forms {

void PushButton::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Keypad Enter carries the keypad modifier; Ctrl+Enter and the like are
    // no press.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace kaldora::forms
