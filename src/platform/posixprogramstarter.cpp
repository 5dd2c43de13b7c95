#include "platform/posixprogramstarter.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace kaldora::platform {

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

// Only async-signal-safe calls from here on: the process may have other
// threads, and after fork() the child has only a copy of their locks.
[[noreturn]] void reportAndExit(int fd, int error, int exitCode)
{
    // If even the report fails, the parent sees a closed pipe and an
    // unsuccessful intermediate child.
    ssize_t written;
    do {
        written = ::write(fd, &error, sizeof error);
    } while (written < 0 && errno == EINTR);
    ::_exit(exitCode);
}

[[noreturn]] void runIntermediate(int reportFd, const char* path, char* const argv[])
{
    const pid_t program = ::fork();
    if (program < 0) {
        reportAndExit(reportFd, errno, EXIT_FAILURE);
    }
    if (program > 0) {
        ::_exit(EXIT_SUCCESS);
    }
    // The program gets a session of its own, so that an interrupt typed in
    // the terminal this program was started from does not reach it, and
    // starts with no blocked signals and with SIGPIPE and SIGXFSZ, which
    // KALDORA ignores for itself, at their defaults.
    if (::setsid() < 0) {
        reportAndExit(reportFd, errno, EXIT_FAILURE);
    }
    sigset_t none;
    sigemptyset(&none);
    struct sigaction dflt {};
    dflt.sa_handler = SIG_DFL;
    if (::sigprocmask(SIG_SETMASK, &none, nullptr) != 0 ||
        ::sigaction(SIGPIPE, &dflt, nullptr) != 0 || ::sigaction(SIGXFSZ, &dflt, nullptr) != 0) {
        reportAndExit(reportFd, errno, EXIT_FAILURE);
    }
    ::execv(path, argv);
    reportAndExit(reportFd, errno, EXIT_FAILURE);
}

} // namespace

std::error_code PosixProgramStarter::start(const std::string& path)
{
    if (path.empty()) {
        return std::make_error_code(std::errc::no_such_file_or_directory);
    }
    if (path.find('\0') != std::string::npos) {
        return std::make_error_code(std::errc::invalid_argument);
    }

    // Everything the children need is prepared before fork().
    char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return lastError();
    }

    const pid_t intermediate = ::fork();
    if (intermediate < 0) {
        const std::error_code error = lastError();
        // Never used, so nothing to lose.
        ::close(report[0]);
        ::close(report[1]);
        return error;
    }
    // The closes of pipe ends below cannot lose anything: nothing is written
    // through the reading end, and the writing end's only message is sent
    // by a child.
    if (intermediate == 0) {
        ::close(report[0]);
        runIntermediate(report[1], path.c_str(), argv);
    }

    ::close(report[1]);
    int status = 0;
    pid_t reaped;
    do {
        reaped = ::waitpid(intermediate, &status, 0);
    } while (reaped < 0 && errno == EINTR);
    // ECHILD: the process ignores SIGCHLD and the system has reaped the
    // child already; the pipe alone then tells how the start went.
    const bool exitKnown = reaped == intermediate;
    const std::error_code waitError =
        exitKnown || errno == ECHILD ? std::error_code{} : lastError();

    // The pipe reads empty once the program's exec has closed the last
    // writing end; an error number means that it was never started.
    int childError = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    const std::error_code readError = got < 0 ? lastError() : std::error_code{};
    ::close(report[0]);

    if (got == static_cast<ssize_t>(sizeof childError)) {
        return {childError, std::generic_category()};
    }
    if (readError) {
        return readError;
    }
    if (waitError) {
        return waitError;
    }
    if (exitKnown && (!WIFEXITED(status) || WEXITSTATUS(status) != EXIT_SUCCESS)) {
        return std::make_error_code(std::errc::resource_unavailable_try_again);
    }
    return {};
}

} // namespace kaldora::platform
