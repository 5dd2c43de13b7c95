#include "price_list/pricelistfile.h"

#include "price_list/pricetable.h"
#include "price_list/sqlconnection.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>
#include <QUrl>

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace kaldora::price_list {

namespace {

#ifndef KALDORA_PRICE_LIST_DIR
#define KALDORA_PRICE_LIST_DIR ""
#endif

// The folder in the user's data folder. It is not taken from the
// application's name, so that the window program and the batch calculator
// find the same file.
#ifdef Q_OS_WIN
const QString kDataFolderName = QStringLiteral("KALDORA");
#else
const QString kDataFolderName = QStringLiteral("kaldora");
#endif

// Where the user's programs keep their data. On Windows that is the roaming
// application data folder, %APPDATA%: what a user stores there follows them
// to every computer of their network and is kept with their profile, which
// the local folder is not. Elsewhere it is the XDG data folder,
// ~/.local/share unless XDG_DATA_HOME says otherwise.
QString userDataFolder()
{
#ifdef Q_OS_WIN
    const QString roaming = qEnvironmentVariable("APPDATA");
    if (!roaming.isEmpty()) {
        return QDir::fromNativeSeparators(roaming);
    }
#endif
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// A new file is made under a temporary name in a folder of the program's own
// beside the real one (the same disk, so the finished file can be renamed
// into place). No user would keep a file of their own in a hidden folder of
// that name, and only files in it whose names have the temporary form are
// ever removed: a file the user keeps beside the price list ("cenovnik.db.
// novi-januar", "cenovnik.db.backup") stays whatever its name.
const QString kWorkFolderName = QStringLiteral(".kaldora-novi-cenovnik");
const QString kTemporaryPattern = QStringLiteral("%1.XXXXXX");
// The names QTemporaryFile gives for that pattern: six letters or digits.
const QString kTemporaryName = QStringLiteral("^%1\\.[A-Za-z0-9]{6}$");
// Another program may remove the empty work folder between our making it
// and our file appearing in it; the folder is then made again.
constexpr int kWorkFolderAttempts = 3;

// SQLite's primary result codes that a user can meet; the extended codes
// that Qt reports carry them in their low byte.
constexpr int kPrimaryCodeMask = 0xff;
constexpr int kSqlitePerm = 3;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteIoErr = 10;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteConstraint = 19;
constexpr int kSqliteNotADb = 26;
// The file was deleted, renamed or replaced while it was open: SQLite will
// not write to it, and says so in this extended code of "read-only".
constexpr int kSqliteReadOnlyDbMoved = kSqliteReadOnly | (4 << 8);

// A new file gets the permissions of an ordinary document; the temporary
// file it is made under is private to its owner.
constexpr QFileDevice::Permissions kNewFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
    QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;

#ifdef Q_OS_UNIX
// A new file is made under a temporary name, locked for as long as it is
// being made: a leftover that nobody holds locked is one whose maker was
// killed, and may go.
bool lockExclusively(int fd, bool wait)
{
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

// After a rename, the folder's own entry must reach the disk too, or a
// power cut could leave the folder without the new name.
void flushFolder(const QString& folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    // The new file is in place and usable either way; a failed flush only
    // leaves it less safe from a crash, which nothing here could mend.
    const int flushed = ::fsync(fd);
    Q_UNUSED(flushed)
    ::close(fd);
}
#endif

bool fillNewFile(const QString& path, QString& reason)
{
    SqlConnection connection;
    if (!connection.open(path, QString())) {
        reason = PriceListFile::reason(connection.lastError());
        return false;
    }
    QStringList columns;
    QStringList values;
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        columns << QStringLiteral("%1 REAL").arg(columnName(row));
        // 17 significant digits give back exactly the same double.
        values << QString::number(billing::kPriceRows[row].defaultPrice, 'g', 17);
    }
    const QString table = QLatin1String(kTableName);
    // The file is thrown away on any failure, so it needs no journal; its
    // content still reaches the disk before it takes the real name.
    const bool ok = connection.exec(QStringLiteral("PRAGMA journal_mode = OFF")) &&
                    connection.exec(QStringLiteral("BEGIN")) &&
                    connection.exec(QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY, %2)")
                                        .arg(table, columns.join(QStringLiteral(", ")))) &&
                    connection.exec(QStringLiteral("INSERT INTO %1 VALUES (1, %2)")
                                        .arg(table, values.join(QStringLiteral(", ")))) &&
                    connection.exec(QStringLiteral("COMMIT"));
    if (!ok) {
        reason = PriceListFile::reason(connection.lastError());
    }
    // On failure the connection goes without COMMIT, which discards the
    // unfinished transaction, and the half-made file goes with its
    // temporary name.
    return ok;
}

// Fills the open temporary file with the default price list and renames it
// to `target`; the temporary file goes on any failure.
bool fillAndMoveIntoPlace(QTemporaryFile& temporary, const QString& target, QString& reason)
{
#ifdef Q_OS_UNIX
    // SQLite opens the file by its name; our handle stays open only to hold
    // the lock that tells removeLeftovers() the file is being made.
    if (!lockExclusively(temporary.handle(), true)) {
        reason = QStringLiteral("U FASCIKLU NIJE MOGUCE PISATI");
        return false;
    }
#else
    // On Windows an open file cannot be deleted, which protects it as well.
    temporary.close();
#endif
    if (!fillNewFile(temporary.fileName(), reason)) {
        return false;
    }
    if (!temporary.setPermissions(kNewFilePermissions)) {
        reason = QStringLiteral("DATOTECI NIJE MOGUCE POSTAVITI PRAVA PRISTUPA");
        return false;
    }
    // Renaming never replaces an existing file.
    if (temporary.rename(target)) {
        temporary.setAutoRemove(false);
#ifdef Q_OS_UNIX
        flushFolder(QFileInfo(target).absolutePath());
#endif
        return true;
    }
    if (QFileInfo::exists(target)) {
        return true;
    }
    reason = QStringLiteral("DATOTEKU NIJE MOGUCE NAPRAVITI");
    return false;
}

// Removes a leftover temporary file unless a running program is making it.
void removeUnlessHeld(const QString& file)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    // Held locked by a program that is making the file right now: leave it.
    if (lockExclusively(fd, false)) {
        // A leftover that cannot be removed only takes some room; the
        // price list itself is not touched either way.
        const int removed = ::unlink(QFile::encodeName(file).constData());
        Q_UNUSED(removed)
    }
    ::close(fd);
#else
    // Fails on a file that another program holds open.
    const bool removed = QFile::remove(file);
    Q_UNUSED(removed)
#endif
}

} // namespace

QString PriceListFile::defaultPath()
{
    QString folder = QStringLiteral(KALDORA_PRICE_LIST_DIR);
    if (folder.isEmpty()) {
        const QString data = userDataFolder();
        if (data.isEmpty()) {
            return {};
        }
        folder = QDir(data).filePath(kDataFolderName);
    }
    return QDir(folder).filePath(QLatin1String(kFileName));
}

QString PriceListFile::existingFileUri(const QString& path)
{
    // "mode=rw" without "c": SQLite refuses to create a missing file, so a
    // file that disappears between our check and the open is not made anew.
    // A write-protected file still opens, for reading only.
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QStringLiteral("?mode=rw");
}

bool PriceListFile::createWithDefaults(const QString& path, QString& reason)
{
    const QFileInfo target(path);
    const QDir folder(target.absolutePath());
    if (!QDir().mkpath(folder.path())) {
        reason = QStringLiteral("FASCIKLU NIJE MOGUCE NAPRAVITI");
        return false;
    }
    bool created = false;
    {
        QTemporaryFile temporary(QDir(folder.filePath(kWorkFolderName))
                                     .filePath(kTemporaryPattern.arg(target.fileName())));
        bool opened = false;
        for (int attempt = 0; attempt < kWorkFolderAttempts && !opened; ++attempt) {
            opened = folder.mkpath(kWorkFolderName) && temporary.open();
        }
        if (!opened) {
            reason = QStringLiteral("U FASCIKLU NIJE MOGUCE PISATI");
        } else {
            created = fillAndMoveIntoPlace(temporary, target.absoluteFilePath(), reason);
        }
        // A temporary file left here goes with `temporary`.
    }
    // The work folder goes when no other program is making a file in it; a
    // folder that stays empty only takes a name.
    const bool removed = folder.rmdir(kWorkFolderName);
    Q_UNUSED(removed)
    return created;
}

void PriceListFile::removeLeftovers(const QString& path)
{
    const QFileInfo target(path);
    const QRegularExpression leftover(
        kTemporaryName.arg(QRegularExpression::escape(target.fileName())));
    const QDir folder(target.absoluteDir().filePath(kWorkFolderName));
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (leftover.match(name).hasMatch()) {
            removeUnlessHeld(folder.filePath(name));
        }
    }
    // Empty now unless another program is making a file in it, or someone
    // put something else there: then rmdir fails and nothing is lost.
    const bool removed = target.absoluteDir().rmdir(kWorkFolderName);
    Q_UNUSED(removed)
}

QString PriceListFile::reason(const QSqlError& error)
{
    bool numeric = false;
    const int extendedCode = error.nativeErrorCode().toInt(&numeric);
    if (!numeric) {
        return QStringLiteral("GRESKA BAZE PODATAKA: %1").arg(error.text());
    }
    if (extendedCode == kSqliteReadOnlyDbMoved) {
        return QStringLiteral(
            "DATOTEKA JE OBRISANA, PREMESTENA ILI ZAMENJENA DOK JE CENOVNIK BIO OTVOREN");
    }
    const int code = extendedCode & kPrimaryCodeMask;
    switch (code) {
    case kSqliteBusy:
    case kSqliteLocked:
        return QStringLiteral("CENOVNIK TRENUTNO KORISTI DRUGI PROGRAM");
    case kSqliteReadOnly:
        return QStringLiteral("DATOTEKA JE SAMO ZA CITANJE");
    case kSqliteCorrupt:
    case kSqliteNotADb:
        return QStringLiteral("DATOTEKA NIJE ISPRAVNA BAZA PODATAKA");
    case kSqliteFull:
        return QStringLiteral("DISK JE PUN");
    case kSqlitePerm:
    case kSqliteCantOpen:
        return QStringLiteral("DATOTEKU NIJE MOGUCE OTVORITI");
    case kSqliteIoErr:
        return QStringLiteral("GRESKA PRI CITANJU ILI PISANJU DATOTEKE");
    case kSqliteConstraint:
        return QStringLiteral("BAZA NE PRIHVATA UPISANU VREDNOST");
    default:
        return QStringLiteral("GRESKA BAZE PODATAKA %1: %2")
            .arg(error.nativeErrorCode(), error.databaseText());
    }
}

} // namespace kaldora::price_list
