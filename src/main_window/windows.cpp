#include "windows.h"

#include <algorithm>

namespace kaldora::main_window {

Windows::Windows(const Form2::Services& services, QObject* parent)
    : QObject(parent)
    , m_services(services)
{
}

Windows::~Windows()
{
    for (const QPointer<QWidget>& window : m_windows) {
        delete window.data();
    }
}

Form2* Windows::form2()
{
    if (m_form2.isNull()) {
        m_form2 = new Form2(m_services);
        adopt(m_form2);
        connect(m_form2, &QObject::destroyed, this, &Windows::mainWindowGone);
        m_form2->startUp();
    }
    return m_form2;
}

void Windows::adopt(QWidget* window)
{
    std::erase_if(m_windows, [](const QPointer<QWidget>& w) { return w.isNull(); });
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_windows.emplace_back(window);
}

void Windows::mainWindowGone(QObject* mainWindow)
{
    // Windows on screen stay usable; the application ends when the last of
    // them is closed.
    for (const QPointer<QWidget>& window : m_windows) {
        if (!window.isNull() && window.data() != mainWindow && !window->isVisible()) {
            window->close();
        }
    }
}

} // namespace kaldora::main_window
