#pragma once

#include <QPushButton>

namespace kaldora::forms {

// A push button that Return and keypad Enter press while it has the focus,
// as on the classic desktop, in any window. Qt leaves that to the default
// buttons of dialogs; a button here becomes no default button by it, so
// Enter with the focus elsewhere still reaches only the window's own default
// button, if it has one.
class PushButton final : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace kaldora::forms
