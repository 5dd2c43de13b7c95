#pragma once

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

// A connection of its own to a price-list file, for setting files up,
// reading back what the program stored, and holding the file locked the way
// another program would.
class TestDatabase {
public:
    explicit TestDatabase(const QString& path)
        : m_name(QStringLiteral("test-%1").arg(++s_count))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        m_ok = db.open();
    }
    ~TestDatabase()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }

    // Runs the statements in order; false at the first that fails.
    bool exec(const QStringList& statements)
    {
        for (const QString& sql : statements) {
            QSqlQuery q(QSqlDatabase::database(m_name, false));
            if (!m_ok || !q.exec(sql)) {
                return false;
            }
        }
        return m_ok;
    }

    // The first column of the first row; an invalid QVariant when there is
    // no row.
    QVariant value(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        return m_ok && q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }

    QVariant price(const char* column, int key = 1)
    {
        return value(QStringLiteral("SELECT %1 FROM cenovnik WHERE id = %2").arg(column).arg(key));
    }

private:
    static inline int s_count = 0;
    QString m_name;
    bool m_ok = false;
};

inline const QString kPriceTable = QStringLiteral(
    "CREATE TABLE cenovnik (id INTEGER PRIMARY KEY, zelenavt REAL, zelenamt REAL, plavavt REAL, "
    "plavamt REAL, crvenavt REAL, crvenamt REAL)");

// A price-list file with the given records, each "id, six values".
inline bool makePriceFile(const QString& path, const QStringList& records)
{
    TestDatabase db(path);
    QStringList statements{kPriceTable};
    for (const QString& r : records) {
        statements << QStringLiteral("INSERT INTO cenovnik VALUES (%1)").arg(r);
    }
    return db.exec(statements);
}

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
