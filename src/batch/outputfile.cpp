#include "batch/outputfile.h"

#include "batch/csvwriter.h"
#include "batch/systemerror.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string_view>

#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
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
    // The system's own code of a failure is read afterwards; a failure the
    // run-time finds itself leaves it at zero.
    _doserrno = 0;
    return ::_write(fd, data, piece);
#else
    return ::write(fd, data, std::min<std::size_t>(size, SSIZE_MAX));
#endif
}

// The cause of a failed write to `fd`, as an errno value. A write that takes
// nothing and names no cause is a full disk. On Windows a pipe whose reader
// has gone fails with ERROR_NO_DATA (the pipe is being closed),
// ERROR_BROKEN_PIPE or, once it is disconnected, ERROR_PIPE_NOT_CONNECTED;
// the C run-time gives the first and the last as EINVAL. A write to a pipe
// that the system ends short, with no code at all, is the same closed pipe
// (Wine's run-time reports it so), since a pipe that is open takes it all.
// Each of them is the closed output that EPIPE is elsewhere.
int writeError(int fd, long long written)
{
    if (written == 0 || errno == 0) {
        return ENOSPC;
    }
#ifdef _WIN32
    switch (_doserrno) {
    case ERROR_NO_DATA:
    case ERROR_BROKEN_PIPE:
    case ERROR_PIPE_NOT_CONNECTED:
        return EPIPE;
    case ERROR_SUCCESS:
        if (errno == EINVAL &&
            GetFileType(reinterpret_cast<HANDLE>(::_get_osfhandle(fd))) == FILE_TYPE_PIPE) {
            return EPIPE;
        }
        break;
    default:
        break;
    }
#else
    static_cast<void>(fd);
#endif
    return errno;
}

// Cuts the output back by the last `torn` bytes it was given, where it is a
// regular file that ends with them. True when it was cut.
bool cutBack(int fd, std::size_t torn)
{
#ifdef _WIN32
    struct _stat64 status {};
    if (::_fstat64(fd, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
        return false;
    }
    const long long end = ::_lseeki64(fd, 0, SEEK_CUR);
#else
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    const long long end = ::lseek(fd, 0, SEEK_CUR);
#endif
    const auto wholeRows = end - static_cast<long long>(torn);
    // Bytes beyond the torn ones (a file opened to be overwritten in place)
    // are not the program's to take away.
    if (end < 0 || wholeRows < 0 || status.st_size != end) {
        return false;
    }
    // The offset goes back too, so that a message written to the same file
    // (2>&1) follows the last whole row instead of a hole.
#ifdef _WIN32
    return ::_chsize_s(fd, wholeRows) == 0 && ::_lseeki64(fd, wholeRows, SEEK_SET) == wholeRows;
#else
    return ::ftruncate(fd, static_cast<off_t>(wholeRows)) == 0 &&
           ::lseek(fd, static_cast<off_t>(wholeRows), SEEK_SET) == wholeRows;
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
    std::size_t done = 0;
    while (done < size) {
        const long long written = writeSome(m_fd, data + done, size - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            m_writeError = writeError(m_fd, written);
            // Every piece the writer hands in starts and ends with a whole
            // row: what went out of it may end in a torn one, which is
            // taken back where the output allows it.
            const std::size_t torn =
                done - CsvWriter::wholeRecordsLength(std::string_view(data, done));
            m_tornRow = torn > 0 && !cutBack(m_fd, torn);
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

std::string OutputFile::error() const
{
    if (m_writeError == 0) {
        return {};
    }
    std::string text = "izlaz nije mogao da se upise: " + systemErrorText(m_writeError);
    if (m_tornRow) {
        text += "; poslednji red izlaza je nepotpun";
    }
    return text;
}

} // namespace kaldora::batch
