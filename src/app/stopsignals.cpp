#include "app/stopsignals.h"

#ifdef _WIN32

namespace kaldora::app::stopsignals {

int catchAll()
{
    return -1;
}

void drain() {}

void release(Afterwards) {}

} // namespace kaldora::app::stopsignals

#else

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kaldora::app::stopsignals {

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

} // namespace

int catchAll()
{
    return openPipe() && catchStopSignals() ? g_pipe[0] : -1;
}

void drain()
{
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
}

void release(Afterwards afterwards)
{
    void (*handler)(int) = afterwards == Afterwards::Ignored ? SIG_IGN : SIG_DFL;
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

} // namespace kaldora::app::stopsignals

#endif
