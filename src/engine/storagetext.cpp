#include "storagetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sqlitedatabase.h"

namespace StorageText {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool canAccess(const QString &path, int mode, unsigned bits)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0)
        return false;
    return ::access(native.constData(), mode) == 0 && (info.st_mode & bits) != 0;
}

QString pathTooLong(const QString &path)
{
    const qsizetype bytes = QFile::encodeName(QFileInfo(path).absoluteFilePath()).size();
    if (bytes <= MaximumPathBytes)
        return QString();
    return QStringLiteral("The path \"%1\" is too long for a dictionary file (%2 bytes; at most %3). Choose a "
                          "shorter folder or file name.")
        .arg(shown(path))
        .arg(bytes)
        .arg(MaximumPathBytes);
}

QString notADictionary(const QString &path)
{
    return QStringLiteral("The file \"%1\" is not a Lexora dictionary. Choose a dictionary file (made by Lexora).")
        .arg(shown(path));
}

QString damaged(const QString &path, const QString &what)
{
    return QStringLiteral("The dictionary file \"%1\" is damaged (%2), so it was not opened: saving over it could "
                          "lose words. Run \"lexora-dict check\" on it to see what is wrong, or restore it from a "
                          "backup copy.")
        .arg(shown(path), what);
}

QString describeError(const QString &path, const SqliteDatabase &db, const QString &doing)
{
    switch (db.errorCode()) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("The dictionary file \"%1\" is locked by another program. Close the dictionary there, "
                              "or wait until it has finished saving, and try again.")
            .arg(shown(path));
    case SQLITE_NOTADB:
        return notADictionary(path);
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
        return damaged(path, db.errorMessage());
    case SQLITE_READONLY:
        return QStringLiteral("The dictionary file \"%1\" cannot be changed: the file or its folder is read-only. "
                              "Make them writable, or save the dictionary elsewhere.")
            .arg(shown(path));
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: {
        const QString tooLong = pathTooLong(path);
        if (!tooLong.isEmpty())
            return tooLong;
        return QStringLiteral("Could not %2 the dictionary file \"%1\": it or its folder cannot be opened. Check that "
                              "the folder exists and that you may read and write there.")
            .arg(shown(path), doing);
    }
    case SQLITE_FULL:
        return QStringLiteral("Could not %2 the dictionary file \"%1\": the disk is full. Free some space and try "
                              "again.")
            .arg(shown(path), doing);
    case SQLITE_IOERR:
        return QStringLiteral("Could not %2 the dictionary file \"%1\": the disk reported an error (%3). Check the "
                              "disk and try again.")
            .arg(shown(path), doing, db.errorMessage());
    default:
        break;
    }
    return QStringLiteral("Could not %2 the dictionary file \"%1\": %3.").arg(shown(path), doing, db.errorMessage());
}

} // namespace StorageText
