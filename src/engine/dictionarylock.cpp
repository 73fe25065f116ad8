#include "dictionarylock.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include "storagetext.h"

using StorageText::shown;

DictionaryLock::DictionaryLock(const QString &dictionaryPath)
    : m_dictionaryPath(dictionaryPath), m_lockPath(dictionaryPath + QStringLiteral(".lock"))
{
}

DictionaryLock::~DictionaryLock() = default;

bool DictionaryLock::isLocked() const
{
    return m_file && m_file->isLocked();
}

bool DictionaryLock::lock(QString *error)
{
    if (isLocked())
        return true;
    auto file = std::make_unique<QLockFile>(m_lockPath);
    // The lock is held for as long as the dictionary is open, so it never goes stale by age alone; a lock whose
    // process has died on this computer is taken over by QLockFile itself.
    file->setStaleLockTime(0);
    bool locked = file->tryLock(0);
    if (!locked && file->error() == QLockFile::LockFailedError) {
        const QFileInfo info(m_lockPath);
        qint64 pid = 0;
        QString host;
        QString application;
        if (!file->getLockInfo(&pid, &host, &application) && info.size() == 0 &&
            info.lastModified().secsTo(QDateTime::currentDateTime()) >= AbandonedEmptyLockSeconds) {
            // Left empty by a program that died between creating and writing it.
            file->removeStaleLockFile();
            locked = file->tryLock(0);
        }
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
            *error = QStringLiteral("The dictionary \"%1\" is already open in another copy of the editor or of "
                                    "lexora-dict (process %2, %3). Finish editing it there first.")
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
