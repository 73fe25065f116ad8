#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

/// A prepared SQLite statement: bind, step, read columns. Finalized when destroyed.
class SqliteStatement
{
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3 *db, const char *sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;
    SqliteStatement(SqliteStatement &&other) noexcept;
    SqliteStatement &operator=(SqliteStatement &&other) noexcept;

    bool isValid() const { return m_statement != nullptr; }
    /// The SQLite result code of preparing the statement.
    int prepareResult() const { return m_prepareResult; }

    void bind(int index, qint64 value);
    void bind(int index, const QString &value);
    void bind(int index, const QByteArray &utf8);
    /// Binds the bytes without copying them: they must stay alive and unchanged until the statement is reset.
    void bindUnowned(int index, const QByteArray &utf8);
    /// One step: SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    /// Resets the statement so that it can run again; keeps nothing bound.
    void reset();

    qint64 columnInt(int column) const;
    QString columnText(int column) const;
    /// The column's UTF-8 bytes, valid until the next step.
    const char *columnData(int column, int *size) const;

private:
    sqlite3_stmt *m_statement = nullptr;
    int m_prepareResult = 0;
};
