#pragma once

#include "form2.h"

#include <QObject>
#include <QPointer>

#include <vector>

namespace kaldora::main_window {

// Owns the program's windows. Each window exists at most once: the owner
// creates it with its fields on first use, hands out that one instance, and
// forgets it when the window is closed (closing destroys a window, and the
// QPointer notices). A later use creates it afresh.
//
// The application ends when none of its windows is left on screen (Qt's
// quitOnLastWindowClosed). A window that is loaded but hidden cannot keep it
// alive, and when the main window goes every hidden window is closed too, so
// nothing is left behind that the user can no longer reach.
class Windows final : public QObject {
    Q_OBJECT

public:
    explicit Windows(const Form2::Services& services, QObject* parent = nullptr);
    ~Windows() override;
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // The main window, created and started up (its load reaction) on first
    // use; not shown.
    Form2* form2();

    // Takes a window into the owner's care: it is destroyed when closed,
    // closed with the main window while it is hidden, and destroyed with the
    // owner at the latest.
    void adopt(QWidget* window);

private:
    void mainWindowGone(QObject* mainWindow);

    Form2::Services m_services;
    QPointer<Form2> m_form2;
    std::vector<QPointer<QWidget>> m_windows;
};

} // namespace kaldora::main_window
