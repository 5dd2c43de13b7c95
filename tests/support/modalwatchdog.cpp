#include "support/modalwatchdog.h"

#include <QApplication>
#include <QDialog>

namespace kaldora::tests {

namespace {

constexpr std::chrono::milliseconds kLookInterval{100};

} // namespace

ModalWatchdog::ModalWatchdog(std::chrono::milliseconds limit)
    : m_limit(limit)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalWatchdog::check);
    m_timer.start(kLookInterval);
}

void ModalWatchdog::check()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != m_open) {
        m_open = modal;
        m_openFor.start();
        return;
    }
    if (modal == nullptr || m_openFor.elapsed() < m_limit.count()) {
        return;
    }
    m_caught << modal->windowTitle();
    qWarning("closed a modal window nobody answered: \"%s\"", qPrintable(modal->windowTitle()));
    m_open = nullptr;
    // A dialog's own way out ends its exec() as the user's Esc would.
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
}

} // namespace kaldora::tests
