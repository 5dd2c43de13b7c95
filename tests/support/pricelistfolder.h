#pragma once

#include "support/environmentoverride.h"

#include <QString>
#include <QTemporaryDir>

namespace kaldora::tests {

// Where a test keeps its price list: a fresh temporary folder for the files
// the test names itself, with the user's data folder pointed into it while
// the object lives, so that the program's default place for the price list
// lies in it too (unless the build fixed that place).
class PriceListFolder {
public:
    PriceListFolder();

    bool isValid() const { return m_folder.isValid(); }
    QString path() const { return m_folder.path(); }

    // A file in the folder; by default the price list's own file name.
    QString filePath(const QString& name = defaultFileName()) const;

    // The user's data folder while the object lives.
    QString dataHome() const;

private:
    static QString defaultFileName();

    QTemporaryDir m_folder;
    EnvironmentOverride m_dataHome;
};

} // namespace kaldora::tests
