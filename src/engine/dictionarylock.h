#pragma once

#include <QString>
#include <memory>

class QLockFile;

/// The lock file ("<dictionary>.lock") that keeps two editors or tools, in any process, from editing one
/// dictionary at the same time. A lock whose owner is gone is taken over; one that cannot be judged (another
/// computer's, or an unreadable file) is named in the message so that the person can remove it.
class DictionaryLock
{
public:
    explicit DictionaryLock(const QString &dictionaryPath);
    ~DictionaryLock();
    DictionaryLock(const DictionaryLock &) = delete;
    DictionaryLock &operator=(const DictionaryLock &) = delete;

    /// Takes the lock, or says why not. Taking a lock already held here succeeds.
    bool lock(QString *error);
    bool isLocked() const;
    QString lockPath() const { return m_lockPath; }

    /// A lock file left empty for this long by a program that died while writing it is taken over.
    static const int AbandonedEmptyLockSeconds = 5;

private:
    QString m_dictionaryPath;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_file;
};
