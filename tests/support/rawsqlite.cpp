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

QStringList query(const QString &path, const QByteArray &statement)
{
    QStringList rows;
    sqlite3 *db = nullptr;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, statement.constData(), -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList columns;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                columns << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
            rows << columns.join(QLatin1Char('|'));
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

} // namespace RawSqlite
