#pragma once

#include <QByteArray>
#include <QString>

#include "sqlitestatement.h"

struct sqlite3;

/// One connection to an SQLite file through the C API; with SqliteStatement, the only place the engine
/// talks to SQLite.
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

    /// True when the connection may not write (opened read-only, or the file is).
    bool isReadOnly() const;
    /// True while a transaction is open (SQLite ends one by itself when a COMMIT fails on a full disk).
    bool inTransaction() const;
    qint64 lastInsertId() const;
    /// The primary result code of the last failed call (SQLITE_BUSY, SQLITE_CORRUPT, ...).
    int errorCode() const;
    int extendedErrorCode() const;
    QString errorMessage() const;
    /// The errno of the system call behind the last failure (ENOSPC, ...), or 0.
    int systemErrno() const;

private:
    sqlite3 *m_db = nullptr;
    int m_openError = 0;
};
