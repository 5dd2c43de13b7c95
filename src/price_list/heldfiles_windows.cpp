// HeldFolder and HeldFile on Windows. A folder is held by a handle opened
// without FILE_SHARE_DELETE: RemoveDirectory needs delete access, which
// Windows refuses while such a handle is open, so no other program removes
// the folder while one holds it. A new file is created through a handle
// that does not share delete access either, so nobody can delete it before
// it is locked; it is then held by a second handle with a byte-range lock
// far past any page SQLite writes or locks (its own locks sit at 1 GiB),
// and the clean-up removes only files it can lock itself. The kept handle
// shares delete access, because moving the file into place by name needs
// it, and it shares reading and writing with SQLite, which opens the file
// by name to fill it. (Windows keeps a deleted file that is still open as
// "delete pending" under its name, and Wine does not even refuse to open
// it then, so a file must never become deletable before it is locked.)

#include "price_list/heldfile.h"
#include "price_list/heldfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <windows.h>

namespace kaldora::price_list {

namespace {

// Where the lock that marks a file as being made lies: beyond any size a
// price list reaches, and apart from SQLite's lock bytes.
constexpr DWORD kLockOffsetHigh = 0x40000000;
constexpr DWORD kLockLength = 1;
constexpr int kNameAttempts = 16;

HANDLE handleOf(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

std::intptr_t stored(HANDLE handle)
{
    return handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle);
}

std::wstring native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

void closeHandle(std::intptr_t& handle)
{
    if (handle != -1) {
        // A handle closes whatever its state; nothing waits on the result.
        const BOOL closed = ::CloseHandle(handleOf(handle));
        Q_UNUSED(closed)
        handle = -1;
    }
}

bool lockFile(HANDLE file, DWORD flags)
{
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    return ::LockFileEx(file, flags, 0, kLockLength, 0, &at) != FALSE;
}

// The object at `path` (not following a link) is the one open as `held`.
bool namesHandle(const QString& path, HANDLE held)
{
    const HANDLE named = ::CreateFileW(
        native(path).c_str(), FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (named == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    const bool same = ::GetFileInformationByHandle(named, &a) &&
                      ::GetFileInformationByHandle(held, &b) &&
                      a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
                      a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
    ::CloseHandle(named);
    return same;
}

bool hasAttributes(HANDLE handle, DWORD wanted, DWORD unwanted)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileInformationByHandle(handle, &info) &&
           (info.dwFileAttributes & wanted) == wanted && (info.dwFileAttributes & unwanted) == 0;
}

QString systemReason(DWORD error)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return QStringLiteral("DISK JE PUN");
    case ERROR_WRITE_PROTECT:
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

// The data folder of a user's profile carries rights that keep other users
// out, so unlike on POSIX systems no owner is compared here: a folder is
// the program's own when it is a real folder, not a junction or a link.
bool HeldFolder::hold(const QString& path, Kind kind, Create create)
{
    release();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        if (create == Create::IfMissing && !::CreateDirectoryW(native(path).c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS) {
            return false;
        }
        const DWORD share = kind == Kind::Own
                                ? FILE_SHARE_READ | FILE_SHARE_WRITE
                                : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        const HANDLE folder = ::CreateFileW(
            native(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, share, nullptr,
            OPEN_EXISTING,
            FILE_FLAG_BACKUP_SEMANTICS | (kind == Kind::Own ? FILE_FLAG_OPEN_REPARSE_POINT : 0),
            nullptr);
        if (folder == INVALID_HANDLE_VALUE) {
            // Removed, or being removed, by another program: again.
            const DWORD error = ::GetLastError();
            if (create == Create::IfMissing &&
                (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                 error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED)) {
                continue;
            }
            return false;
        }
        m_handle = stored(folder);
        m_path = path;
        m_kind = kind;
        if (hasAttributes(folder, FILE_ATTRIBUTE_DIRECTORY,
                          kind == Kind::Own ? FILE_ATTRIBUTE_REPARSE_POINT : 0)) {
            return true;
        }
        closeHandle(m_handle);
        return false;
    }
    return false;
}

bool HeldFolder::createFile(const QString& prefix, HeldFile& file, QString& reason)
{
    file.release();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        QString name;
        const QString path = freshPath(prefix, name);
        // Made without sharing delete access: while this first handle is
        // open no other program can delete the file, whatever it checks.
        const HANDLE created = ::CreateFileW(native(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
                continue;
            }
            reason = systemReason(error);
            return false;
        }
        runHook(Moment::Created, path);
        // The handle that is kept shares delete access, which the move into
        // place needs; it takes the lock before the first handle goes, so
        // the file is never without one of the two.
        const HANDLE kept = ::CreateFileW(native(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        const bool held = kept != INVALID_HANDLE_VALUE && lockFile(kept, LOCKFILE_EXCLUSIVE_LOCK) &&
                          namesHandle(path, kept);
        const DWORD error = ::GetLastError();
        ::CloseHandle(created);
        if (held) {
            file.m_handle = stored(kept);
            file.m_path = path;
            file.m_name = name;
            return true;
        }
        if (kept != INVALID_HANDLE_VALUE) {
            ::CloseHandle(kept);
        }
        // Nobody could have taken a file held this way; it goes, unused.
        const BOOL removed = ::DeleteFileW(native(path).c_str());
        Q_UNUSED(removed)
        reason = systemReason(error);
        return false;
    }
    reason = QStringLiteral("DATOTEKU NIJE MOGUCE NAPRAVITI");
    return false;
}

void HeldFolder::removeLeftovers(const QRegularExpression& names)
{
    WIN32_FIND_DATAW found{};
    const HANDLE listing =
        ::FindFirstFileW(native(QDir(m_path).filePath(QStringLiteral("*"))).c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (!names.match(name).hasMatch()) {
            continue;
        }
        const QString path = QDir(m_path).filePath(name);
        // Delete access is granted only while nobody has the file open
        // without sharing it: not while SQLite fills it.
        const HANDLE file =
            ::CreateFileW(native(path).c_str(), GENERIC_READ | DELETE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            continue;
        }
        if (hasAttributes(file, 0, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT) &&
            lockFile(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY)) {
            // Removes exactly the file that was locked, when it is closed.
            FILE_DISPOSITION_INFO disposition{};
            disposition.DeleteFile = TRUE;
            const BOOL marked = ::SetFileInformationByHandle(file, FileDispositionInfo,
                                                             &disposition, sizeof disposition);
            // A leftover that cannot be removed only takes some room.
            Q_UNUSED(marked)
        }
        ::CloseHandle(file);
    } while (::FindNextFileW(listing, &found));
    ::FindClose(listing);
}

void HeldFolder::release()
{
    if (m_handle == -1) {
        return;
    }
    closeHandle(m_handle);
    // Fails while another program holds the folder or something is in it;
    // it then stays, folder and all.
    if (m_kind == Kind::Own) {
        const BOOL removed = ::RemoveDirectoryW(native(m_path).c_str());
        Q_UNUSED(removed)
    }
}

HeldFile::~HeldFile()
{
    release();
}

void HeldFile::release()
{
    if (m_handle != -1 && !m_name.isEmpty() && isStillNamed()) {
        // Ours, locked by us; the name goes when our handle closes.
        const BOOL removed = ::DeleteFileW(native(m_path).c_str());
        Q_UNUSED(removed)
    }
    closeHandle(m_handle);
    m_name.clear();
    m_path.clear();
}

bool HeldFile::isStillNamed() const
{
    return namesHandle(m_path, handleOf(m_handle));
}

bool HeldFile::startsWith(QByteArrayView bytes) const
{
    QByteArray head(bytes.size(), '\0');
    OVERLAPPED at{};
    DWORD read = 0;
    return ::ReadFile(handleOf(m_handle), head.data(), static_cast<DWORD>(head.size()), &read,
                      &at) &&
           read == static_cast<DWORD>(head.size()) && head == bytes;
}

// A new file takes the rights its folder gives, as every file the user
// makes there does.
bool HeldFile::makeReadable()
{
    return true;
}

bool HeldFile::flush()
{
    return ::FlushFileBuffers(handleOf(m_handle)) != FALSE;
}

HeldFile::Move HeldFile::moveTo(const QString& target)
{
    // Without MOVEFILE_REPLACE_EXISTING an existing file is never replaced.
    if (::MoveFileExW(native(m_path).c_str(), native(target).c_str(), MOVEFILE_WRITE_THROUGH)) {
        m_name.clear();
        return Move::Moved;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Move::Taken : Move::Failed;
}

} // namespace kaldora::price_list
