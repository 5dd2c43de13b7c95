#pragma once

#include <QString>

class QSqlError;

namespace kaldora::price_list {

// Knows where the price-list file lives, how to reach an existing file
// without ever creating it, how a new file is made, and how the database
// engine's failures read to the user. Owns no connection.
class PriceListFile {
public:
    // The file's fixed place: KALDORA_PRICE_LIST_DIR when the program was
    // built with one, otherwise the folder "kaldora" in the user's data
    // folder. Empty when the user has no data folder.
    static QString defaultPath();

    // The database name that opens the existing file at `path` and fails,
    // instead of creating it, when the file is not there. Needs the
    // connect option QSQLITE_OPEN_URI.
    static QString existingFileUri(const QString& path);
    // The SQLite file URI of an absolute path: a POSIX path, a Windows
    // drive path or a Windows server (UNC) path.
    static QString fileUri(const QString& absolutePath);

    // Makes a new price-list file at `path` holding one record with the
    // default prices, creating its folder when needed. The file is built
    // under a temporary name in the program's work folder beside `path`
    // (or, where that name is taken by something that is not the program's
    // own folder, beside `path` itself), checked to be the very file that
    // was filled, and then moved into place, so `path` never holds a
    // half-made file and an existing file is never replaced: when one
    // appears there meanwhile, that file is kept and this succeeds. Any
    // number of programs may do this at once. On failure returns false and
    // sets `reason`.
    static bool createWithDefaults(const QString& path, QString& reason);

    // Removes what a run killed while it made a new file at `path` left
    // behind: the temporary files in the work folder beside `path` that no
    // running program holds, and the folder once it is empty and unused.
    // Nothing outside that folder, nothing reached through a link and
    // nothing but regular files of the user's is ever touched.
    static void removeLeftovers(const QString& path);

    // The cause of a database failure in the user's words.
    static QString reason(const QSqlError& error);
};

} // namespace kaldora::price_list
