#include "rawsqlite.h"

#include <QFile>
#include <sqlite3.h>

namespace RawSqlite {

bool exec(const QString &path, const QByteArray &statements)
{
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                              nullptr) == SQLITE_OK;
    ok = ok && sqlite3_exec(db, statements.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

} // namespace RawSqlite
