#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace kaldora::price_list {

// Owns one SQLite connection of Qt SQL under a name no other connection of
// the process uses, and removes it from Qt's list of connections when it
// goes, so that opening a store many times leaves nothing behind.
class SqlConnection {
public:
    SqlConnection();
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    // Opens `databaseName` with the given QSQLITE connect options; on
    // failure lastError() says why.
    bool open(const QString& databaseName, const QString& connectOptions);
    void close();

    // Runs one statement that returns no rows.
    bool exec(const QString& sql);

    QSqlDatabase database() const;
    const QSqlError& lastError() const { return m_lastError; }

private:
    QString m_name;
    QSqlError m_lastError;
};

} // namespace kaldora::price_list
