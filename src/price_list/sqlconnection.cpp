#include "price_list/sqlconnection.h"

#include <QSqlQuery>

#include <atomic>

namespace kaldora::price_list {

namespace {

const QString kDriver = QStringLiteral("QSQLITE");
const QString kNamePattern = QStringLiteral("kaldora-cenovnik-%1");

std::atomic<unsigned long long> g_connectionCount{0};

} // namespace

SqlConnection::SqlConnection()
    : m_name(kNamePattern.arg(++g_connectionCount))
{
    QSqlDatabase::addDatabase(kDriver, m_name);
}

SqlConnection::~SqlConnection()
{
    close();
    // Every QSqlDatabase handle of this connection is a local that is gone
    // by now, so Qt can drop the connection without complaint.
    QSqlDatabase::removeDatabase(m_name);
}

bool SqlConnection::open(const QString& databaseName, const QString& connectOptions)
{
    QSqlDatabase db = database();
    if (!db.isValid()) {
        m_lastError = db.lastError();
        return false;
    }
    db.setDatabaseName(databaseName);
    db.setConnectOptions(connectOptions);
    if (!db.open()) {
        m_lastError = db.lastError();
        return false;
    }
    return true;
}

void SqlConnection::close()
{
    QSqlDatabase db = database();
    if (db.isOpen()) {
        db.close();
    }
}

bool SqlConnection::exec(const QString& sql)
{
    QSqlQuery query(database());
    if (!query.exec(sql)) {
        m_lastError = query.lastError();
        return false;
    }
    return true;
}

QSqlDatabase SqlConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

} // namespace kaldora::price_list
