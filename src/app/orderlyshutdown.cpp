#include "app/orderlyshutdown.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

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

void restoreStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : kStopSignals) {
        // Back to what the program had before; nothing to do if it fails.
        const int restored = ::sigaction(signalNumber, &action, nullptr);
        (void)restored;
    }
}

} // namespace

OrderlyShutdown::OrderlyShutdown(std::function<void()> closeWindows, QObject* parent)
    : QObject(parent)
    , m_closeWindows(std::move(closeWindows))
{
    if (openPipe() && catchStopSignals()) {
        m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &OrderlyShutdown::signalArrived);
    }
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(gui, &QGuiApplication::commitDataRequest, this, &OrderlyShutdown::sessionEnds);
    }
}

OrderlyShutdown::~OrderlyShutdown()
{
    if (m_notifier != nullptr) {
        restoreStopSignals();
    }
}

void OrderlyShutdown::signalArrived()
{
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    shutDown();
}

void OrderlyShutdown::sessionEnds(QSessionManager& manager)
{
    Q_UNUSED(manager)
    shutDown();
}

void OrderlyShutdown::shutDown()
{
    // A second signal while the windows are closing (a message box of the
    // price list may be up) changes nothing.
    if (m_done) {
        return;
    }
    m_done = true;
    m_closeWindows();
    QCoreApplication::quit();
}

} // namespace kaldora::app
