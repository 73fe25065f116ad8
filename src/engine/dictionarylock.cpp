#include "dictionarylock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "storagetext.h"

using StorageText::shown;

namespace {

// The byte locked in the dictionary file: far beyond the bytes SQLite locks, so the two never meet.
const off_t IdentityLockOffset = off_t(1) << 62;

} // namespace

DictionaryLock::DictionaryLock(const QString &dictionaryPath)
    : m_dictionaryPath(dictionaryPath), m_lockPath(StorageText::fittedPath(dictionaryPath + QStringLiteral(".lock")))
{
}

// The descriptor closes only now, after the dictionary's SQLite connection: closing a descriptor of a file
// drops every POSIX lock the process holds on it, SQLite's included.
DictionaryLock::~DictionaryLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool DictionaryLock::isLocked() const
{
    return m_file && m_file->isLocked() && m_fd >= 0;
}

bool DictionaryLock::lock(QString *error)
{
    if (isLocked())
        return true;
    if (!lockFile(error))
        return false;
    // The lock file is named after one path; the file itself is the same under all of them.
    int fd = ::open(QFile::encodeName(m_dictionaryPath).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        fd = ::open(QFile::encodeName(m_dictionaryPath).constData(), O_RDONLY | O_CLOEXEC);
    bool held = false;
    int failure = fd < 0 ? errno : 0;
    if (fd >= 0) {
        struct flock range = {};
        range.l_type = (fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDWR ? F_WRLCK : F_RDLCK;
        range.l_whence = SEEK_SET;
        range.l_start = IdentityLockOffset;
        range.l_len = 1;
        if (range.l_type == F_WRLCK && ::fcntl(fd, F_OFD_SETLK, &range) == 0)
            held = true;
        else if (range.l_type == F_WRLCK && errno != EINVAL)
            failure = errno;
        else if (::flock(fd, LOCK_EX | LOCK_NB) == 0) // without lock ranges of its own descriptor
            held = true;
        else
            failure = errno;
    }
    if (held) {
        m_fd = fd;
        return true;
    }
    if (fd >= 0)
        ::close(fd);
    m_file.reset();
    if (failure == EAGAIN || failure == EACCES || failure == EWOULDBLOCK)
        *error = QStringLiteral("The dictionary \"%1\" is in use: the same file is already open for editing under "
                                "another name (a hard link to it), in this or another copy of the editor or of "
                                "lexora-dict. Finish editing it there first.")
                     .arg(shown(m_dictionaryPath));
    else
        *error = QStringLiteral("The dictionary \"%1\" could not be locked for editing: %2.")
                     .arg(shown(m_dictionaryPath), QString::fromLocal8Bit(strerror(failure)));
    return false;
}

bool DictionaryLock::lockFile(QString *error)
{
    if (m_file && m_file->isLocked())
        return true;
    auto file = std::make_unique<QLockFile>(m_lockPath);
    // The lock is held for as long as the dictionary is open, so it never goes stale by age alone; a lock whose
    // process has died on this computer is taken over by QLockFile itself.
    file->setStaleLockTime(0);
    bool locked = file->tryLock(0);
    QElapsedTimer writing;
    writing.start();
    while (!locked && file->error() == QLockFile::LockFailedError) {
        const QFileInfo info(m_lockPath);
        qint64 pid = 0;
        QString host;
        QString application;
        if (file->getLockInfo(&pid, &host, &application) || info.size() != 0)
            break;
        if (info.lastModified().secsTo(QDateTime::currentDateTime()) >= AbandonedEmptyLockSeconds) {
            // Left empty by a program that died between creating and writing it.
            file->removeStaleLockFile();
            locked = file->tryLock(0);
            break;
        }
        // Another program has made the file this moment and is writing its holder into it.
        if (writing.elapsed() > LockWritingMs)
            break;
        QThread::msleep(10);
        locked = file->tryLock(0);
    }
    if (locked) {
        m_file = std::move(file);
        return true;
    }
    const QString dictionary = shown(m_dictionaryPath);
    const QString lockFile = shown(m_lockPath);
    switch (file->error()) {
    case QLockFile::LockFailedError: {
        qint64 pid = 0;
        QString host;
        QString application;
        if (!file->getLockInfo(&pid, &host, &application)) {
            *error =
                QStringLiteral("The dictionary \"%1\" is locked by the lock file \"%2\", which cannot be read, so it "
                               "is not known whether another program is editing the dictionary. If none is, delete "
                               "the lock file and try again.")
                    .arg(dictionary, lockFile);
        } else if (!host.isEmpty() && host != QSysInfo::machineHostName()) {
            *error = QStringLiteral("The dictionary \"%1\" is locked by process %2 (%3) on the computer \"%4\". If it "
                                    "is no longer open there, delete the lock file \"%5\" and try again.")
                         .arg(dictionary)
                         .arg(pid)
                         .arg(application, host, lockFile);
        } else {
            *error = QStringLiteral("The dictionary \"%1\" is in use by process %2 (%3): it is already open in "
                                    "another copy of the editor or of lexora-dict. Finish editing it there first.")
                         .arg(dictionary)
                         .arg(pid)
                         .arg(application);
        }
        break;
    }
    case QLockFile::PermissionError:
        *error = QStringLiteral("The dictionary \"%1\" cannot be locked for editing: its folder cannot be written to. "
                                "Make the folder writable, or open the dictionary for viewing only.")
                     .arg(dictionary);
        break;
    default:
        *error = QStringLiteral("The dictionary \"%1\" could not be locked for editing: the lock file \"%2\" could "
                                "not be written. The disk may be full: free some space and try again.")
                     .arg(dictionary, lockFile);
        break;
    }
    return false;
}
