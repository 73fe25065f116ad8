#include "storagetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
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

int maximumNameBytes(const QByteArray &folder)
{
    const long limit = ::pathconf(folder.isEmpty() ? "." : folder.constData(), _PC_NAME_MAX);
    return limit > 0 && limit < 4096 ? int(limit) : 255;
}

QByteArray fittedPath(const QByteArray &nativePath, int reserve)
{
    const qsizetype slash = nativePath.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : nativePath.left(slash + 1);
    const QByteArray name = nativePath.mid(slash + 1);
    const int limit = maximumNameBytes(slash == 0 ? QByteArray("/") : folder) - reserve;
    if (name.size() <= limit)
        return nativePath;
    // FNV-1a, which stays the same across processes and versions, unlike qHash.
    quint64 hash = 14695981039346656037ULL;
    for (char c : name)
        hash = (hash ^ quint8(c)) * 1099511628211ULL;
    // Ends in a "." part, which SQLite reads as "no database name to take the permissions from" for a journal.
    const QByteArray tail = '~' + QByteArray::number(hash, 16).rightJustified(16, '0') + ".x";
    qsizetype keep = limit - tail.size();
    while (keep > 0 && (quint8(name.at(keep)) & 0xc0) == 0x80)
        --keep; // never cut a UTF-8 character in two
    return folder + name.left(keep) + tail;
}

QString fittedPath(const QString &path, int reserve)
{
    return QFile::decodeName(fittedPath(QFile::encodeName(path), reserve));
}

QString nameTooLong(const QString &path)
{
    const QFileInfo info(path);
    const qsizetype bytes = QFile::encodeName(info.fileName()).size();
    const int limit = maximumNameBytes(QFile::encodeName(info.absolutePath()));
    if (bytes <= limit)
        return QString();
    return QStringLiteral("The file name \"%1\" is too long (%2 bytes; the file system allows at most %3). Choose a "
                          "shorter name.")
        .arg(info.fileName())
        .arg(bytes)
        .arg(limit);
}

QString unreachable(const QString &path, int error)
{
    switch (error) {
    case ELOOP:
        return QStringLiteral("\"%1\" cannot be opened: it leads through symbolic links that go round in a loop. "
                              "Correct or remove the links.")
            .arg(shown(path));
    case ENOTDIR: {
        // Name the part of the path that is a file where a folder should be.
        QString part = QFileInfo(path).absolutePath();
        QString file;
        while (!part.isEmpty() && part != QLatin1String("/")) {
            struct stat info;
            if (::stat(QFile::encodeName(part).constData(), &info) == 0 && !S_ISDIR(info.st_mode))
                file = part;
            part = QFileInfo(part).absolutePath();
        }
        return QStringLiteral("\"%1\" cannot be opened: \"%2\" on its way is a file, not a folder. Check the path.")
            .arg(shown(path), shown(file.isEmpty() ? QFileInfo(path).absolutePath() : file));
    }
    case ENAMETOOLONG: {
        const QString name = nameTooLong(path);
        return name.isEmpty() ? pathTooLong(path) : name;
    }
    case EACCES:
    case EPERM:
        return QStringLiteral("The folder \"%1\" cannot be read. Check its permissions, then try again.")
            .arg(shown(QFileInfo(path).absolutePath()));
    default:
        break;
    }
    return QString();
}

namespace {

// The reason and the remedy for a write that failed with a disk's errno; empty for other errors.
QString diskReason(int error)
{
    const QString system = QString::fromLocal8Bit(strerror(error));
    switch (error) {
    case ENOSPC:
        return QStringLiteral("the disk is full, or has no room for another file (%1). Free some space and try "
                              "again.")
            .arg(system);
    case EDQUOT:
        return QStringLiteral("your disk quota is used up (%1). Free some space and try again.").arg(system);
    case EFBIG:
        return QStringLiteral("the file would grow beyond the largest size allowed (%1).").arg(system);
    case EROFS:
        return QStringLiteral("the disk is read-only (%1).").arg(system);
    default:
        break;
    }
    return QString();
}

} // namespace

QString writeFailure(const QString &what, int error)
{
    if (error == 0)
        return QStringLiteral("Could not write %1.").arg(what);
    const QString reason = diskReason(error);
    if (!reason.isEmpty())
        return QStringLiteral("Could not write %1: %2").arg(what, reason);
    return QStringLiteral("Could not write %1: %2.").arg(what, QString::fromLocal8Bit(strerror(error)));
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
    // What the system said is the most precise reason for a file that could not be made, grown or opened.
    const int code = db.errorCode();
    const int system = code == SQLITE_CANTOPEN || code == SQLITE_IOERR || code == SQLITE_FULL ? db.systemErrno() : 0;
    const QString disk = diskReason(system);
    if (!disk.isEmpty())
        return QStringLiteral("Could not %1 the dictionary file \"%2\": %3").arg(doing, shown(path), disk);
    switch (code) {
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
        const QString why = unreachable(path, system);
        if (!why.isEmpty())
            return why;
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
