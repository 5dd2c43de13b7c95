// HeldFolder and HeldFile on POSIX systems. A folder is held by a file
// descriptor with a shared flock: a program removes the work folder only
// under an exclusive flock, so never while another holds it. A new file is
// held by its descriptor with an exclusive flock: the clean-up removes only
// files it can lock itself. Every name is checked against the descriptor's
// file (device and inode) after the lock is taken, so what is filled, moved
// or removed is provably the file that was locked.

#include "price_list/heldfile.h"
#include "price_list/heldfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kaldora::price_list {

namespace {

// A folder removal holds its exclusive lock only for one rmdir, so a shared
// lock is had within milliseconds; a lock held longer belongs to something
// else, and the program makes its file elsewhere instead of waiting for it.
constexpr int kFolderLockTries = 200;
constexpr unsigned long kFolderLockPauseMs = 5;
// A name lost to another program's clean-up before our lock is simply made
// anew; so are the very rare names that are already taken.
constexpr int kNameAttempts = 16;

int fd(std::intptr_t handle)
{
    return static_cast<int>(handle);
}

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

bool lock(int descriptor, int operation)
{
    int result = 0;
    do {
        result = ::flock(descriptor, operation);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The entry `name` in the folder `folder` (or the path `name` itself with
// AT_FDCWD) is the file open as `descriptor`; links are not followed.
bool namesDescriptor(int folder, const QByteArray& name, int descriptor)
{
    struct stat named {};
    struct stat held {};
    return ::fstatat(folder, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(descriptor, &held) == 0 && sameFile(named, held);
}

void closeDescriptor(std::intptr_t& handle)
{
    if (handle >= 0) {
        // Nothing was written through these descriptors that close could
        // still lose: SQLite wrote the file and flush() synced it.
        const int closed = ::close(fd(handle));
        Q_UNUSED(closed)
        handle = -1;
    }
}

// After a rename the folder's own entry must reach the disk too, or a power
// cut could leave the folder without the new name.
void flushFolder(int folder)
{
    // The file is in place and usable either way; a failed flush only leaves
    // it less safe from a crash, which nothing here could mend.
    const int flushed = ::fsync(folder);
    Q_UNUSED(flushed)
}

QString systemReason(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("DISK JE PUN");
    case EROFS:
        return QStringLiteral("DISK JE SAMO ZA CITANJE");
    default:
        return QStringLiteral("U FASCIKLU NIJE MOGUCE PISATI");
    }
}

} // namespace

HeldFolder::~HeldFolder()
{
    release();
}

bool HeldFolder::hold(const QString& path, Kind kind, Create create)
{
    release();
    const QByteArray name = encoded(path);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        if (create == Create::IfMissing && ::mkdir(name.constData(), 0700) != 0 &&
            errno != EEXIST) {
            return false;
        }
        // O_NONBLOCK: whatever stands under the name, nothing waits here.
        const int flags =
            O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK | (kind == Kind::Own ? O_NOFOLLOW : 0);
        const int folder = ::open(name.constData(), flags);
        if (folder < 0) {
            // Removed by another program between mkdir and open: again.
            if (errno == ENOENT && create == Create::IfMissing) {
                continue;
            }
            return false;
        }
        m_handle = folder;
        m_path = path;
        m_kind = kind;
        if (kind == Kind::Given) {
            return true;
        }
        struct stat info {};
        if (::fstat(folder, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
            closeDescriptor(m_handle);
            return false;
        }
        bool locked = false;
        for (int tries = 0; tries < kFolderLockTries && !locked; ++tries) {
            locked = lock(folder, LOCK_SH | LOCK_NB);
            if (!locked) {
                QThread::msleep(kFolderLockPauseMs);
            }
        }
        if (!locked) {
            closeDescriptor(m_handle);
            return false;
        }
        // Another program may have removed the folder before our lock: then
        // ours is a folder without a name, and a new one is made.
        if (namesDescriptor(AT_FDCWD, name, folder)) {
            return true;
        }
        closeDescriptor(m_handle);
    }
    return false;
}

bool HeldFolder::createFile(const QString& prefix, HeldFile& file, QString& reason)
{
    file.release();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        QString name;
        const QString path = freshPath(prefix, name);
        const QByteArray entry = encoded(name);
        const int descriptor = ::openat(fd(m_handle), entry.constData(),
                                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (descriptor < 0) {
            if (errno == EEXIST) {
                continue;
            }
            reason = systemReason(errno);
            return false;
        }
        runHook(Moment::Created, path);
        // A clean-up that took the lock first removes the file and lets go
        // within moments; the check below then finds the name gone.
        if (lock(descriptor, LOCK_EX) && namesDescriptor(fd(m_handle), entry, descriptor)) {
            file.m_handle = descriptor;
            file.m_folder = ::fcntl(fd(m_handle), F_DUPFD_CLOEXEC, 0);
            file.m_path = path;
            file.m_name = name;
            if (file.m_folder >= 0) {
                return true;
            }
            file.release();
            reason = systemReason(errno);
            return false;
        }
        const int closed = ::close(descriptor);
        Q_UNUSED(closed)
    }
    reason = QStringLiteral("DATOTEKU NIJE MOGUCE NAPRAVITI");
    return false;
}

void HeldFolder::removeLeftovers(const QRegularExpression& names)
{
    const int listed = ::fcntl(fd(m_handle), F_DUPFD_CLOEXEC, 0);
    DIR* const listing = listed < 0 ? nullptr : ::fdopendir(listed);
    if (listing == nullptr) {
        if (listed >= 0) {
            ::close(listed);
        }
        return;
    }
    const int folder = fd(m_handle);
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (!names.match(QFile::decodeName(name)).hasMatch()) {
            continue;
        }
        struct stat info {};
        if (::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
            continue;
        }
        const int file =
            ::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (file < 0) {
            continue;
        }
        // Not locked by a program making it now, and still the file looked
        // at: a leftover of a killed run.
        if (lock(file, LOCK_EX | LOCK_NB) && namesDescriptor(folder, name, file)) {
            // A leftover that cannot be removed only takes some room.
            const int removed = ::unlinkat(folder, name.constData(), 0);
            Q_UNUSED(removed)
        }
        ::close(file);
    }
    ::closedir(listing);
}

void HeldFolder::release()
{
    if (m_handle < 0) {
        return;
    }
    // The last program to let go removes the folder, if it is empty; a
    // program still holding it keeps the exclusive lock from us.
    if (m_kind == Kind::Own && lock(fd(m_handle), LOCK_EX | LOCK_NB) &&
        namesDescriptor(AT_FDCWD, encoded(m_path), fd(m_handle))) {
        // Fails when something is in it, which then stays, folder and all.
        const int removed = ::rmdir(encoded(m_path).constData());
        Q_UNUSED(removed)
    }
    closeDescriptor(m_handle);
}

HeldFile::~HeldFile()
{
    release();
}

void HeldFile::release()
{
    if (m_handle >= 0 && !m_name.isEmpty() && isStillNamed()) {
        // Ours, locked by us: nobody else's file can be removed here.
        const int removed = ::unlinkat(fd(m_folder), encoded(m_name).constData(), 0);
        Q_UNUSED(removed)
    }
    closeDescriptor(m_handle);
    closeDescriptor(m_folder);
    m_name.clear();
    m_path.clear();
}

bool HeldFile::isStillNamed() const
{
    return namesDescriptor(fd(m_folder), encoded(m_name), fd(m_handle));
}

bool HeldFile::startsWith(QByteArrayView bytes) const
{
    QByteArray head(bytes.size(), '\0');
    return ::pread(fd(m_handle), head.data(), static_cast<size_t>(head.size()), 0) ==
               static_cast<ssize_t>(head.size()) &&
           head == bytes;
}

bool HeldFile::makeReadable()
{
    return ::fchmod(fd(m_handle), 0644) == 0;
}

bool HeldFile::flush()
{
    return ::fsync(fd(m_handle)) == 0;
}

HeldFile::Move HeldFile::moveTo(const QString& target)
{
    const QString folderPath = QFileInfo(target).absolutePath();
    const int folder =
        ::open(encoded(folderPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (folder < 0) {
        return Move::Failed;
    }
    const QByteArray from = encoded(m_name);
    const QByteArray to = encoded(QFileInfo(target).fileName());
    // Never replaces: renameat2's RENAME_NOREPLACE, or on a file system
    // without it a hard link, which fails on an existing name as well.
    int moved =
        ::renameat2(fd(m_folder), from.constData(), folder, to.constData(), RENAME_NOREPLACE);
    if (moved != 0 && (errno == EINVAL || errno == ENOSYS)) {
        moved = ::linkat(fd(m_folder), from.constData(), folder, to.constData(), 0);
        if (moved == 0) {
            // The file is in place; the temporary name goes with release().
            flushFolder(folder);
            ::close(folder);
            return Move::Moved;
        }
    }
    const int error = errno;
    if (moved == 0) {
        m_name.clear();
        flushFolder(folder);
    }
    ::close(folder);
    if (moved == 0) {
        return Move::Moved;
    }
    return error == EEXIST ? Move::Taken : Move::Failed;
}

} // namespace kaldora::price_list
