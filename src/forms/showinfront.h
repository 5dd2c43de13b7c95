#pragma once

#include <QWidget>

namespace kaldora::forms {

// Brings a top-level window to the user as the command that opens it does: a
// window the user has minimised comes back as it was before, a hidden one is
// shown, and it is raised above the others and takes the focus.
inline void showInFront(QWidget& window)
{
    if (window.isMinimized()) {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    }
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace kaldora::forms
