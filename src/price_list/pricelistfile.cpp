#include "price_list/pricelistfile.h"

#include "price_list/heldfolder.h"
#include "price_list/pricetable.h"
#include "price_list/sqlconnection.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include <QtGlobal>

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
// into place). No user would keep a file of their own in a folder of that
// name, and only files in it whose names have the temporary form are ever
// removed: a file the user keeps beside the price list ("cenovnik.db.
// novi-januar", "cenovnik.db.backup") stays whatever its name. The leading
// dot hides the folder on POSIX systems only; on Windows it shows.
const QString kWorkFolderName = QStringLiteral(".kaldora-novi-cenovnik");
// The names HeldFolder::createFile gives: six letters or digits.
const QString kTemporaryName = QStringLiteral("^%1\\.[A-Za-z0-9]{6}$");
// A file that SQLite was asked to fill and that does not begin as every
// SQLite database does was not the one it filled: the work folder was
// swapped meanwhile, and the file is made again.
constexpr QByteArrayView kSqliteHeader("SQLite format 3\0", 16);
constexpr int kCreateAttempts = 3;

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

// The work folder beside `target`, or where that is not the program's own
// (a link, a file, another user's folder), the price list's folder itself.
bool holdFolderFor(const QFileInfo& target, HeldFolder& folder)
{
    const QString dataFolder = target.absolutePath();
    return folder.hold(QDir(dataFolder).filePath(kWorkFolderName), HeldFolder::Kind::Own,
                       HeldFolder::Create::IfMissing) ||
           folder.hold(dataFolder, HeldFolder::Kind::Given, HeldFolder::Create::Never);
}

enum class Made { Done, Again, Failed };

// One try at making the price list at `target`: a new held file in the
// work folder, filled with the default prices, checked and moved into
// place. Again when the file that was filled is not the one held.
Made makeOnce(const QFileInfo& target, QString& reason)
{
    HeldFolder folder;
    if (!holdFolderFor(target, folder)) {
        reason = QStringLiteral("U FASCIKLU NIJE MOGUCE PISATI");
        return Made::Failed;
    }
    HeldFile file;
    if (!folder.createFile(target.fileName(), file, reason) || !fillNewFile(file.path(), reason)) {
        return Made::Failed;
    }
    HeldFolder::runHook(HeldFolder::Moment::Filled, file.path());
    if (!file.isStillNamed() || !file.startsWith(kSqliteHeader)) {
        return Made::Again;
    }
    if (!file.makeReadable()) {
        reason = QStringLiteral("DATOTECI NIJE MOGUCE POSTAVITI PRAVA PRISTUPA");
        return Made::Failed;
    }
    if (!file.flush()) {
        reason = QStringLiteral("GRESKA PRI CITANJU ILI PISANJU DATOTEKE");
        return Made::Failed;
    }
    switch (file.moveTo(target.absoluteFilePath())) {
    case HeldFile::Move::Moved:
    // Another program made the file meanwhile: theirs is kept and used.
    case HeldFile::Move::Taken:
        return Made::Done;
    case HeldFile::Move::Failed:
        break;
    }
    reason = QStringLiteral("DATOTEKU NIJE MOGUCE NAPRAVITI");
    return Made::Failed;
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
    return fileUri(QFileInfo(path).absoluteFilePath()) + QStringLiteral("?mode=rw");
}

QString PriceListFile::fileUri(const QString& absolutePath)
{
    // SQLite takes no host in a file URI ("invalid uri authority"), so the
    // authority stays empty whatever the path: "file:///home/...",
    // "file:///C:/..." and, for a folder on a server (a roaming profile's
    // %APPDATA% can be one), "file:////server/share/...", whose path
    // SQLite hands to Windows as the UNC path it is.
    const QString path = QDir::fromNativeSeparators(absolutePath);
    const QByteArray encoded = QUrl::toPercentEncoding(path, "/:");
    return QStringLiteral("file://") + (path.startsWith(QLatin1Char('/')) ? "" : "/") +
           QString::fromLatin1(encoded);
}

bool PriceListFile::createWithDefaults(const QString& path, QString& reason)
{
    const QFileInfo target(path);
    if (!QDir().mkpath(target.absolutePath())) {
        reason = QStringLiteral("FASCIKLU NIJE MOGUCE NAPRAVITI");
        return false;
    }
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        switch (makeOnce(target, reason)) {
        case Made::Done:
            return true;
        case Made::Failed:
            return false;
        case Made::Again:
            break;
        }
    }
    reason = QStringLiteral("DATOTEKU NIJE MOGUCE NAPRAVITI");
    return false;
}

void PriceListFile::removeLeftovers(const QString& path)
{
    const QFileInfo target(path);
    HeldFolder folder;
    if (folder.hold(target.absoluteDir().filePath(kWorkFolderName), HeldFolder::Kind::Own,
                    HeldFolder::Create::Never)) {
        folder.removeLeftovers(
            QRegularExpression(kTemporaryName.arg(QRegularExpression::escape(target.fileName()))));
    }
    // Letting go removes the folder once it is empty and nobody uses it.
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
