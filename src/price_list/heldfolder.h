#pragma once

#include "price_list/heldfile.h"

#include <QString>

#include <cstdint>

class QRegularExpression;

namespace kaldora::price_list {

// A folder in which new price-list files are made, held for as long as this
// object lives. The program's own work folder (Kind::Own) must be a real
// folder of this user's, not a link or anything else; while one program
// holds it no other removes it, and the last to let go removes it when it
// is empty. A folder the user chose (Kind::Given) is used as it is and
// never removed.
class HeldFolder {
public:
    enum class Kind { Own, Given };
    enum class Create { IfMissing, Never };

    HeldFolder() = default;
    ~HeldFolder();
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    // Holds the folder at `path`. False when there is none (and `create` is
    // Never or it cannot be made), or an own folder is not the program's.
    bool hold(const QString& path, Kind kind, Create create);

    // Makes a new, empty file named `prefix` plus a dot and six letters or
    // digits, held as HeldFile says. On failure returns false and sets
    // `reason`.
    bool createFile(const QString& prefix, HeldFile& file, QString& reason);

    // Removes the files whose names match `names` that a killed run left:
    // regular files of this user's that no program holds. Links, folders,
    // pipes, files of other users and files being made stay.
    void removeLeftovers(const QRegularExpression& names);

    // Lets go of the folder; an own folder goes too when it is empty and
    // no other program holds it.
    void release();

    // For tests: a function run at the moments another program's clean-up
    // could meet a new file: between its creation and its lock (when the
    // clean-up may take it) and once it is filled, before it is moved into
    // place (when it must not).
    enum class Moment { Created, Filled };
    using Hook = void (*)(Moment moment, const QString& path);
    static void setHook(Hook hook);
    static void runHook(Moment moment, const QString& path);

private:
    // The path of a fresh name for createFile.
    QString freshPath(const QString& prefix, QString& name) const;

    QString m_path;
    Kind m_kind = Kind::Given;
    std::intptr_t m_handle = -1;
};

} // namespace kaldora::price_list
