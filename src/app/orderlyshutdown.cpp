#include "app/orderlyshutdown.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace kaldora::app {

namespace {

constexpr std::array kStopSignals = {SIGTERM, SIGHUP, SIGINT};

// The pipe's two ends; written by the handler, read by the event loop. One
// program has one pair, made with the first OrderlyShutdown.
int g_pipe[2] = {-1, -1};

extern "C" void writeToPipe(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(signalNumber);
    // A full pipe already holds a note that the loop has yet to read, so a
    // write that fails loses nothing.
    const ssize_t written = ::write(g_pipe[1], &byte, 1);
    (void)written;
    errno = savedErrno;
}

bool openPipe()
{
    if (g_pipe[0] >= 0) {
        return true;
    }
    if (::pipe(g_pipe) != 0) {
        return false;
    }
    for (const int fd : g_pipe) {
        if (::fcntl(fd, F_SETFL, O_NONBLOCK) != 0 || ::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0) {
            ::close(g_pipe[0]);
            ::close(g_pipe[1]);
            g_pipe[0] = g_pipe[1] = -1;
            return false;
        }
    }
    return true;
}

bool catchStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = writeToPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kStopSignals) {
        if (::sigaction(signalNumber, &action, nullptr) != 0) {
            return false;
        }
    }
    return true;
}

// Gives the stop signals `handler`: their default when the program goes on
// without the orderly end, or SIG_IGN once the end has begun, so that a
// signal still on its way cannot kill the program that is ending in order.
void setStopSignals(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : kStopSignals) {
        // The program ends or goes on as it is either way; nothing to do if
        // it fails.
        const int set = ::sigaction(signalNumber, &action, nullptr);
        (void)set;
    }
}

} // namespace

OrderlyShutdown::OrderlyShutdown(Actions actions, QObject* parent)
    : QObject(parent)
    , m_actions(std::move(actions))
{
    if (openPipe() && catchStopSignals()) {
        m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &OrderlyShutdown::signalArrived);
    }
    QCoreApplication* application = QCoreApplication::instance();
    if (auto* gui = qobject_cast<QGuiApplication*>(application)) {
        connect(gui, &QGuiApplication::commitDataRequest, this, &OrderlyShutdown::sessionCommits);
    }
    if (application != nullptr) {
        // The session's real end (and every other quit) reaches the
        // application as a Quit event, which Qt answers by closing the
        // windows as their close boxes do; the filter comes first. Where the
        // system ends the process right after the session's end (Windows),
        // Qt emits aboutToQuit and nothing else.
        application->installEventFilter(this);
        connect(application, &QCoreApplication::aboutToQuit, this, &OrderlyShutdown::endUnattended);
    }
}

OrderlyShutdown::~OrderlyShutdown()
{
    if (m_notifier != nullptr) {
        setStopSignals(m_ended ? SIG_IGN : SIG_DFL);
    }
}

int OrderlyShutdown::exitCode(int loopCode) const
{
    return loopCode == 0 && !m_allSaved ? kExitUnsaved : loopCode;
}

bool OrderlyShutdown::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
        endUnattended();
    }
    return false;
}

void OrderlyShutdown::signalArrived()
{
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    // A further signal while the program ends changes nothing.
    if (m_ended) {
        return;
    }
    m_stopped = true;
    endUnattended();
    QCoreApplication::quit();
}

void OrderlyShutdown::sessionCommits(QSessionManager& manager)
{
    Q_UNUSED(manager)
    if (!m_ended) {
        // What could not be saved stays on screen, and the end tries again.
        const bool saved = m_actions.savePending();
        Q_UNUSED(saved)
    }
}

void OrderlyShutdown::endUnattended()
{
    if (m_ended) {
        return;
    }
    m_ended = true;
    m_allSaved = m_actions.closeUnattended();
}

} // namespace kaldora::app
