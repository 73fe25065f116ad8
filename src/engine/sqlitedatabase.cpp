#include "sqlitedatabase.h"

#include <QFile>
#include <sqlite3.h>
#include <utility>

SqliteStatement::SqliteStatement(sqlite3 *db, const char *sql)
{
    m_prepareResult = sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr);
    if (m_prepareResult != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bind(int index, qint64 value)
{
    sqlite3_bind_int64(m_statement, index, value);
}

void SqliteStatement::bind(int index, const QString &value)
{
    bind(index, value.toUtf8());
}

void SqliteStatement::bind(int index, const QByteArray &utf8)
{
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

int SqliteStatement::step()
{
    if (!m_statement)
        return m_prepareResult ? m_prepareResult : SQLITE_MISUSE;
    return sqlite3_step(m_statement);
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

qint64 SqliteStatement::columnInt(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QString SqliteStatement::columnText(int column) const
{
    const char *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column));
}

const char *SqliteStatement::columnData(int column, int *size) const
{
    const char *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    *size = sqlite3_column_bytes(m_statement, column);
    return text;
}

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
