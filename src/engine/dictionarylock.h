#pragma once

#include <QString>
#include <memory>

class QLockFile;

/// The lock that keeps two editors or tools, in any process, from editing one dictionary at the same time:
/// a lock file beside the dictionary ("<dictionary>.lock", naming its holder), and a lock on the dictionary
/// file itself, which every name of the file (every hard link) shares. A lock file whose owner is gone is
/// taken over; one that cannot be judged (another computer's, or an unreadable file) is named in the message
/// so that the person can remove it.
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
    /// How long a lock file another program has just made may take to show its holder.
    static const int LockWritingMs = 2000;

private:
    bool lockFile(QString *error);

    QString m_dictionaryPath;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_file;
    int m_fd = -1; // holds the lock on the dictionary file itself
};
