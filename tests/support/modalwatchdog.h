#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <chrono>

namespace kaldora::tests {

// Fails a test instead of letting it hang on a modal window nobody answers.
// A modal window that stays open longer than the limit is closed and its
// caption remembered; the test's cleanup reports what was caught. A test
// that opens a modal window on purpose answers it well within the limit.
class ModalWatchdog final : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kDefaultLimit{3000};

    explicit ModalWatchdog(std::chrono::milliseconds limit = kDefaultLimit);

    // The captions of the windows it had to close, in order.
    QStringList caught() const { return m_caught; }

private:
    void check();

    std::chrono::milliseconds m_limit;
    QTimer m_timer;
    // The modal window open at the last look, and since when.
    QPointer<QWidget> m_open;
    QElapsedTimer m_openFor;
    QStringList m_caught;
};

} // namespace kaldora::tests
