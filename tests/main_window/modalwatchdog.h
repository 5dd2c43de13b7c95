#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

namespace kaldora::tests {

// Fails a test instead of letting it hang: a modal window that opens while a
// test waits is closed and remembered, to be reported by the test's cleanup.
class ModalWatchdog final : public QObject {
    Q_OBJECT

public:
    ModalWatchdog();
    QStringList caught() const { return m_caught; }

private:
    void check();

    QTimer m_timer;
    QStringList m_caught;
};

} // namespace kaldora::tests
