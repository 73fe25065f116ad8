#include "sqlitestatement.h"

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

SqliteStatement::SqliteStatement(SqliteStatement &&other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr)), m_prepareResult(other.m_prepareResult)
{
}

SqliteStatement &SqliteStatement::operator=(SqliteStatement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_statement);
        m_statement = std::exchange(other.m_statement, nullptr);
        m_prepareResult = other.m_prepareResult;
    }
    return *this;
}

void SqliteStatement::bind(int index, qint64 value)
{
    sqlite3_bind_int64(m_statement, index, value);
}

void SqliteStatement::bind(int index, const QString &value)
{
    // SQLite converts UTF-16 itself, without the temporary a toUtf8() would make.
    sqlite3_bind_text16(m_statement, index, value.utf16(), int(value.size() * 2), SQLITE_TRANSIENT);
}

void SqliteStatement::bind(int index, const QByteArray &utf8)
{
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bindUnowned(int index, const QByteArray &utf8)
{
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
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
