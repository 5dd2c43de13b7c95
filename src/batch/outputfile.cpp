#include "batch/outputfile.h"

#include "batch/systemerror.h"

#include <algorithm>
#include <cerrno>
#include <climits>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kaldora::batch {

namespace {

constexpr int kStandardOutput = 1;

// Writes as much as one call of the system takes: all of it on a disk, less
// on a pipe or after a signal. Gives the count, or -1 with errno set.
long long writeSome(int fd, const char* data, std::size_t size)
{
#ifdef _WIN32
    const auto piece = static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX));
    return ::_write(fd, data, piece);
#else
    return ::write(fd, data, std::min<std::size_t>(size, SSIZE_MAX));
#endif
}

} // namespace

OutputFile OutputFile::standardOutput()
{
#ifdef _WIN32
    // Text mode would turn every LF into CR LF. Should it fail, the bills
    // still reach the file, with CR LF line ends.
    const int previous = ::_setmode(kStandardOutput, _O_BINARY);
    static_cast<void>(previous);
#endif
    return OutputFile(kStandardOutput);
}

OutputFile::OutputFile(int fd)
    : m_fd(fd)
{
}

bool OutputFile::write(const char* data, std::size_t size)
{
    if (m_writeError != 0) {
        return false;
    }
    while (size > 0) {
        const long long written = writeSome(m_fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            // A write that takes nothing and names no cause is a full disk.
            m_writeError = written < 0 && errno != 0 ? errno : ENOSPC;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string OutputFile::error() const
{
    if (m_writeError == 0) {
        return {};
    }
    return "izlaz nije mogao da se upise: " + systemErrorText(m_writeError);
}

} // namespace kaldora::batch
