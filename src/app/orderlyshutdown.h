#pragma once

#include <QObject>

#include <functional>

class QSessionManager;
class QSocketNotifier;

namespace kaldora::app {

// The program's end when nobody may be there to answer a message: it is
// asked to stop (SIGTERM, SIGHUP, SIGINT), the desktop session ends, or the
// application quits for any other reason. The windows are then closed
// without a message box, an open price-list window's pending edits are
// saved, and what could not be saved is handed to the error output; the
// program ends within the few seconds a save may take, and its exit status
// says whether everything was saved.
//
// When the session manager asks the program to save its data (the user
// logs out), pending edits are saved but nothing is closed: the logout may
// still be cancelled by another program, and the user would find the
// program gone. The session's real end then ends the program as above. What
// cannot be saved then is never answered as saved: where the session
// manager lets the program speak to the user, the user decides whether the
// session ends without it; otherwise the manager hears that the save failed.
//
// A signal handler may do next to nothing safely, so it only writes the
// signal's number into a pipe; the event loop notices the pipe and does the
// closing in the ordinary course of events. Once the end has begun, further
// stop signals are absorbed.
class OrderlyShutdown final : public QObject {
    Q_OBJECT

public:
    // What the end asks of the program's windows. Each returns false when
    // something could not be saved (and has said so on the error output).
    struct Actions {
        // Saves pending edits and leaves every window as it is.
        std::function<bool()> savePending;
        // Asks the user whether the session may end without what could not
        // be saved; true when it may.
        std::function<bool()> confirmEndUnsaved;
        // Closes every window, answering no message.
        std::function<bool()> closeUnattended;
    };

    // The exit status of an end that could not save everything.
    static constexpr int kExitUnsaved = 3;

    explicit OrderlyShutdown(Actions actions, QObject* parent = nullptr);
    ~OrderlyShutdown() override;
    OrderlyShutdown(const OrderlyShutdown&) = delete;
    OrderlyShutdown& operator=(const OrderlyShutdown&) = delete;

    // False when the signals could not be caught (no pipe to be had); the
    // session's end is still handled.
    bool catchesSignals() const { return m_notifier != nullptr; }

    // True once a stop signal has closed the windows. A stop that comes
    // while a message of the start-up waits for its answer, before the main
    // loop runs, closes that message, but the quit it asks for is lost:
    // Qt forgets it when the main loop starts. The program asks here instead
    // of starting the loop.
    bool stopRequested() const { return m_stopped; }

    // The program's exit status, given that of its event loop.
    int exitCode(int loopCode) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void signalArrived();
    void sessionCommits(QSessionManager& manager);
    void endUnattended();

    Actions m_actions;
    QSocketNotifier* m_notifier = nullptr;
    bool m_ended = false;
    bool m_stopped = false;
    bool m_allSaved = true;
};

} // namespace kaldora::app
