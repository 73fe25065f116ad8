#include "sqlitedatabase.h"

#include <QFile>
#include <sqlite3.h>
#include <utility>

SqliteDatabase::~SqliteDatabase()
{
    close();
}

bool SqliteDatabase::open(const QString &path, OpenMode mode, int busyTimeoutMs)
{
    close();
    int flags = SQLITE_OPEN_NOMUTEX;
    if (mode == ReadOnly)
        flags |= SQLITE_OPEN_READONLY;
    else if (mode == ReadWrite)
        flags |= SQLITE_OPEN_READWRITE;
    else
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    m_openError = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
    if (m_openError != SQLITE_OK) {
        // Keep the handle until close() so that errorMessage() can read it.
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
    return true;
}

void SqliteDatabase::close()
{
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_openError = 0;
}

void SqliteDatabase::swap(SqliteDatabase &other)
{
    std::swap(m_db, other.m_db);
    std::swap(m_openError, other.m_openError);
}

bool SqliteDatabase::exec(const char *sql)
{
    return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

qint64 SqliteDatabase::queryInt(const char *sql, qint64 fallback)
{
    SqliteStatement statement(m_db, sql);
    if (statement.step() != SQLITE_ROW)
        return fallback;
    return statement.columnInt(0);
}

QString SqliteDatabase::queryText(const char *sql)
{
    SqliteStatement statement(m_db, sql);
    if (statement.step() != SQLITE_ROW)
        return QString();
    return statement.columnText(0);
}

bool SqliteDatabase::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

qint64 SqliteDatabase::lastInsertId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : 0;
}

int SqliteDatabase::errorCode() const
{
    return extendedErrorCode() & 0xff;
}

int SqliteDatabase::extendedErrorCode() const
{
    if (!m_db)
        return m_openError ? m_openError : SQLITE_CANTOPEN;
    return sqlite3_extended_errcode(m_db);
}

QString SqliteDatabase::errorMessage() const
{
    if (!m_db)
        return QString::fromUtf8(sqlite3_errstr(m_openError ? m_openError : SQLITE_CANTOPEN));
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}
