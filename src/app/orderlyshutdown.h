#pragma once

#include <QObject>

#include <functional>

class QSessionManager;
class QSocketNotifier;

namespace kaldora::app {

// Ends the program the way its close boxes would when the desktop session
// ends or the program is asked to stop (SIGTERM, SIGHUP, SIGINT): every
// window is closed, so an open price-list window saves its pending edits
// first, and then the program quits.
//
// A signal handler may do next to nothing safely, so it only writes the
// signal's number into a pipe; the event loop notices the pipe and does the
// closing in the ordinary course of events.
class OrderlyShutdown final : public QObject {
    Q_OBJECT

public:
    // `closeWindows` closes the program's windows as their close boxes do.
    explicit OrderlyShutdown(std::function<void()> closeWindows, QObject* parent = nullptr);
    ~OrderlyShutdown() override;
    OrderlyShutdown(const OrderlyShutdown&) = delete;
    OrderlyShutdown& operator=(const OrderlyShutdown&) = delete;

    // False when the signals could not be caught (no pipe to be had); the
    // session's end is still handled.
    bool catchesSignals() const { return m_notifier != nullptr; }

    // True once the windows have been closed for a stop. A stop that comes
    // while a message of the start-up waits for its answer, before the main
    // loop runs, closes that message, but the quit it asks for is lost:
    // Qt forgets it when the main loop starts. The program asks here instead
    // of starting the loop.
    bool stopRequested() const { return m_done; }

private:
    void signalArrived();
    void sessionEnds(QSessionManager& manager);
    void shutDown();

    std::function<void()> m_closeWindows;
    QSocketNotifier* m_notifier = nullptr;
    bool m_done = false;
};

} // namespace kaldora::app
