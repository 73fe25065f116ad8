#include "dictionarywriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

#include "storagetext.h"

using StorageText::shown;

namespace {

// Forces a file's or folder's content to the disk.
void syncPath(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives the temporary file the target's name unless that name is taken: the rename refuses atomically where
// the file system can, a hard link elsewhere.
int renameNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    if (::link(source.constData(), target.constData()) != 0)
        return errno;
    ::unlink(source.constData());
    return 0;
}

} // namespace

const char *DictionaryWriter::schema()
{
    return "CREATE TABLE meta(key TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL);"
           "CREATE TABLE words(id INTEGER PRIMARY KEY, text TEXT NOT NULL,"
           " frequency INTEGER NOT NULL DEFAULT 0, kinds INTEGER NOT NULL DEFAULT 0,"
           " codes TEXT NOT NULL DEFAULT '');";
}

const char *DictionaryWriter::formatName()
{
    return "lexora-dictionary";
}

QString DictionaryWriter::varietyName(Prediction::Variety variety)
{
    switch (variety) {
    case Prediction::British:
        return QStringLiteral("British");
    case Prediction::Canadian:
        return QStringLiteral("Canadian");
    case Prediction::American:
        break;
    }
    return QStringLiteral("American");
}

Prediction::Variety DictionaryWriter::varietyFromName(const QString &name)
{
    return name == QLatin1String("British")    ? Prediction::British
           : name == QLatin1String("Canadian") ? Prediction::Canadian
                                               : Prediction::American;
}

DictionaryWriter::DictionaryWriter(const QString &targetPath) : m_target(QFileInfo(targetPath).absoluteFilePath()) {}

DictionaryWriter::~DictionaryWriter()
{
    m_insert = SqliteStatement();
    m_db.close();
    if (!m_temporary.isEmpty())
        QFile::remove(m_temporary);
    if (m_temporaryHold >= 0)
        ::close(m_temporaryHold);
}

// Removes temporaries named like this writer's that a killed writer left behind: a live writer holds an advisory
// lock on its temporary, so one that can be locked, and is not brand new, has no owner any more.
static void removeStaleTemporaries(const QString &prefix)
{
    const QFileInfo info(prefix);
    const QString pattern = info.fileName() + QStringLiteral(".??????");
    const QDateTime recent = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QFileInfoList found =
        QDir(info.absolutePath()).entryInfoList({pattern}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &candidate : found) {
        if (candidate.lastModified().toUTC() > recent)
            continue;
        const int fd = ::open(QFile::encodeName(candidate.absoluteFilePath()).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            QFile::remove(candidate.absoluteFilePath());
        ::close(fd);
    }
}

QString DictionaryWriter::refusalToCreate(const QString &path)
{
    if (path.isEmpty())
        return QStringLiteral("No file name was given for the new dictionary. Choose a file name.");
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return QStringLiteral("A file named \"%1\" already exists, and a new dictionary never replaces a file. "
                              "Choose another name, or delete the old file first.")
            .arg(shown(info.absoluteFilePath()));
    const QString tooLong = StorageText::pathTooLong(path);
    if (!tooLong.isEmpty())
        return tooLong;
    const QString nameTooLong = StorageText::nameTooLong(path);
    if (!nameTooLong.isEmpty())
        return nameTooLong;
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("The folder \"%1\" does not exist. Create it first, or choose another folder.")
            .arg(shown(folder.absoluteFilePath()));
    if (!StorageText::canAccess(folder.absoluteFilePath(), W_OK | X_OK, 0222))
        return QStringLiteral("The folder \"%1\" cannot be written to. Choose a folder where you may save files.")
            .arg(shown(folder.absoluteFilePath()));
    return QString();
}

QString DictionaryWriter::writeError() const
{
    return StorageText::describeError(m_target, m_db, QStringLiteral("write"));
}

QString DictionaryWriter::failure(const QString &doing)
{
    const QString message = StorageText::describeError(m_target, m_db, doing);
    m_insert = SqliteStatement();
    m_db.close();
    return message;
}

bool DictionaryWriter::begin(const Settings &settings, QString *error)
{
    *error = refusalToCreate(m_target);
    if (!error->isEmpty())
        return false;
    {
        // Named after the target, cut short where the target's name is near the file system's limit.
        const QString prefix = StorageText::fittedPath(
            QFileInfo(m_target).absolutePath() + QStringLiteral("/.") + QFileInfo(m_target).fileName(), 7);
        removeStaleTemporaries(prefix);
        QTemporaryFile reserved(prefix + QStringLiteral(".XXXXXX"));
        reserved.setAutoRemove(false);
        if (!reserved.open()) {
            *error = QStringLiteral("Could not create the dictionary file \"%1\": %2.")
                         .arg(shown(m_target), reserved.errorString());
            return false;
        }
        m_temporary = reserved.fileName();
        m_temporaryHold = ::dup(reserved.handle());
        if (m_temporaryHold >= 0)
            ::flock(m_temporaryHold, LOCK_EX | LOCK_NB);
    }
    // The file is invisible until complete, so it needs no journal; it is forced to the disk before it is named.
    bool ok = m_db.open(m_temporary, SqliteDatabase::ReadWrite, 0) &&
              m_db.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;") && m_db.exec(schema());
    if (ok) {
        SqliteStatement insert(m_db.handle(), "INSERT INTO meta(key, value) VALUES (?, ?)");
        const QList<QPair<QString, QString>> values = {
            {QStringLiteral("format"), QString::fromLatin1(formatName())},
            {QStringLiteral("display_name"), settings.displayName},
            {QStringLiteral("variety"), varietyName(settings.variety)},
            {QStringLiteral("uk_grammar"), settings.ukGrammar ? QStringLiteral("1") : QStringLiteral("0")},
            {QStringLiteral("letter_group_threshold"), QString::number(qMax(0, settings.letterGroupThreshold))},
            {QStringLiteral("change_counter"), QStringLiteral("0")}};
        for (const auto &value : values) {
            insert.bind(1, value.first);
            insert.bind(2, value.second);
            ok = ok && insert.step() == SQLITE_DONE;
            insert.reset();
        }
    }
    if (ok) {
        m_insert =
            SqliteStatement(m_db.handle(), "INSERT INTO words(text, frequency, kinds, codes) VALUES (?, ?, ?, ?)");
        ok = m_insert.isValid();
    }
    if (!ok)
        *error = failure(QStringLiteral("create"));
    return ok;
}

bool DictionaryWriter::add(const QString &text, int frequency, int kinds, const QByteArray &codes)
{
    m_insert.bind(1, text);
    m_insert.bind(2, qint64(frequency));
    m_insert.bind(3, qint64(kinds));
    m_insert.bind(4, codes);
    const bool ok = m_insert.step() == SQLITE_DONE;
    m_insert.reset();
    return ok;
}

bool DictionaryWriter::commit(QString *error)
{
    m_insert = SqliteStatement();
    // The index is built once over every row, which is quicker than keeping it up to date row by row.
    if (!m_db.exec("CREATE UNIQUE INDEX words_text ON words(text)") ||
        !m_db.exec(QByteArray("PRAGMA user_version=" + QByteArray::number(SchemaVersion)).constData()) ||
        !m_db.exec("COMMIT")) {
        *error = failure(QStringLiteral("create"));
        return false;
    }
    m_db.close();
    syncPath(m_temporary);
    const int result = renameNoReplace(m_temporary, m_target);
    if (result == EEXIST) {
        *error = refusalToCreate(m_target);
        return false;
    }
    if (result != 0) {
        *error = QStringLiteral("Could not create the dictionary file \"%1\": %2.")
                     .arg(shown(m_target), QString::fromLocal8Bit(strerror(result)));
        return false;
    }
    m_temporary.clear();
    syncPath(QFileInfo(m_target).absolutePath());
    return true;
}
