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

    bool isValid() const { return m_statement != nullptr; }
    /// The SQLite result code of preparing the statement.
    int prepareResult() const { return m_prepareResult; }

    void bind(int index, qint64 value);
    void bind(int index, const QString &value);
    void bind(int index, const QByteArray &utf8);
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

/// One connection to an SQLite file through the C API: the only place the engine talks to SQLite.
class SqliteDatabase
{
public:
    enum OpenMode
    {
        ReadOnly,
        ReadWrite,
        Create
    };

    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    /// Opens the file; Create makes it when missing. False with errorCode()/errorMessage() on failure.
    bool open(const QString &path, OpenMode mode, int busyTimeoutMs);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    /// Exchanges the connections of two objects.
    void swap(SqliteDatabase &other);
    sqlite3 *handle() const { return m_db; }

    /// Runs one or more statements without results; false on failure.
    bool exec(const char *sql);
    /// Runs a statement and returns the first column of its first row (or fallback).
    qint64 queryInt(const char *sql, qint64 fallback = -1);
    QString queryText(const char *sql);

    qint64 lastInsertId() const;
    /// The primary result code of the last failed call (SQLITE_BUSY, SQLITE_CORRUPT, ...).
    int errorCode() const;
    int extendedErrorCode() const;
    QString errorMessage() const;

private:
    sqlite3 *m_db = nullptr;
    int m_openError = 0;
};
