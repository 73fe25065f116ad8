#include "sqlitedatabase.h"

#include <QFile>
#include <cstring>
#include <mutex>
#include <sqlite3.h>
#include <utility>

#include "storagetext.h"

namespace {

// The system's own SQLite file layer, wrapped so that the names SQLite derives from a dictionary's (its
// journal) fit the file system's limit on a name even when the dictionary's own name is near that limit.
// Every call but the three that take a derived name goes straight to the system's layer.
sqlite3_vfs *base = nullptr;
sqlite3_vfs fitted;
const char *const FittedVfsName = "lexora-fitted";

int fittedOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    if (name && !(flags & SQLITE_OPEN_MAIN_DB)) {
        const QByteArray path = StorageText::fittedPath(QByteArray(name));
        if (path != name) {
            // SQLite keeps using the name while the file is open, so it lives in the file's own allocation.
            char *kept = reinterpret_cast<char *>(file) + base->szOsFile;
            std::strncpy(kept, path.constData(), size_t(base->mxPathname));
            kept[base->mxPathname] = '\0';
            return base->xOpen(base, kept, file, flags, outFlags);
        }
    }
    return base->xOpen(base, name, file, flags, outFlags);
}

int fittedDelete(sqlite3_vfs *, const char *name, int syncDir)
{
    return base->xDelete(base, StorageText::fittedPath(QByteArray(name)).constData(), syncDir);
}

int fittedAccess(sqlite3_vfs *, const char *name, int flags, int *result)
{
    return base->xAccess(base, StorageText::fittedPath(QByteArray(name)).constData(), flags, result);
}

int fittedFullPathname(sqlite3_vfs *, const char *name, int size, char *out)
{
    return base->xFullPathname(base, name, size, out);
}

void *fittedDlOpen(sqlite3_vfs *, const char *name)
{
    return base->xDlOpen(base, name);
}

void fittedDlError(sqlite3_vfs *, int size, char *message)
{
    base->xDlError(base, size, message);
}

void (*fittedDlSym(sqlite3_vfs *, void *handle, const char *symbol))(void)
{
    return base->xDlSym(base, handle, symbol);
}

void fittedDlClose(sqlite3_vfs *, void *handle)
{
    base->xDlClose(base, handle);
}

int fittedRandomness(sqlite3_vfs *, int size, char *out)
{
    return base->xRandomness(base, size, out);
}

int fittedSleep(sqlite3_vfs *, int microseconds)
{
    return base->xSleep(base, microseconds);
}

int fittedCurrentTime(sqlite3_vfs *, double *now)
{
    return base->xCurrentTime(base, now);
}

int fittedGetLastError(sqlite3_vfs *, int size, char *message)
{
    return base->xGetLastError ? base->xGetLastError(base, size, message) : 0;
}

int fittedCurrentTimeInt64(sqlite3_vfs *, sqlite3_int64 *now)
{
    return base->xCurrentTimeInt64(base, now);
}

// The name of the wrapped layer, registered on first use; null (the default layer) if that fails.
const char *fittedVfs()
{
    static std::once_flag once;
    static const char *name = nullptr;
    std::call_once(once, [] {
        base = sqlite3_vfs_find(nullptr);
        if (!base || base->iVersion < 2)
            return;
        std::memset(&fitted, 0, sizeof fitted);
        fitted.iVersion = 2;
        fitted.szOsFile = base->szOsFile + base->mxPathname + 1;
        fitted.mxPathname = base->mxPathname;
        fitted.zName = FittedVfsName;
        fitted.xOpen = fittedOpen;
        fitted.xDelete = fittedDelete;
        fitted.xAccess = fittedAccess;
        fitted.xFullPathname = fittedFullPathname;
        fitted.xDlOpen = fittedDlOpen;
        fitted.xDlError = fittedDlError;
        fitted.xDlSym = fittedDlSym;
        fitted.xDlClose = fittedDlClose;
        fitted.xRandomness = fittedRandomness;
        fitted.xSleep = fittedSleep;
        fitted.xCurrentTime = fittedCurrentTime;
        fitted.xGetLastError = fittedGetLastError;
        fitted.xCurrentTimeInt64 = fittedCurrentTimeInt64;
        if (sqlite3_vfs_register(&fitted, 0) == SQLITE_OK)
            name = FittedVfsName;
    });
    return name;
}

} // namespace

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
    m_openError = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, fittedVfs());
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

int SqliteDatabase::systemErrno() const
{
    return m_db ? sqlite3_system_errno(m_db) : 0;
}

bool SqliteDatabase::isReadOnly() const
{
    return !m_db || sqlite3_db_readonly(m_db, "main") != 0;
}
