#include "modalwatchdog.h"

#include <QApplication>
#include <QDialog>

namespace kaldora::tests {

namespace {

constexpr int kWatchdogIntervalMs = 100;

} // namespace

ModalWatchdog::ModalWatchdog()
{
    connect(&m_timer, &QTimer::timeout, this, &ModalWatchdog::check);
    m_timer.start(kWatchdogIntervalMs);
}

void ModalWatchdog::check()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
        return;
    }
    m_caught << modal->windowTitle();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
}

} // namespace kaldora::tests
