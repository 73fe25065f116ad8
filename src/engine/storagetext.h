#pragma once

// What the engine says about files: paths as the person knows them, permission checks that honour the
// mode bits, and the messages for SQLite's failures.

#include <QString>

class SqliteDatabase;

namespace StorageText {

/// SQLite cannot open a file whose absolute path (with "-journal" added) exceeds its limit of 512 bytes.
const int MaximumPathBytes = 500;

/// The path in the platform's notation.
QString shown(const QString &path);

/// access() that also honours the permission bits for a user whom the system would let through, so that a
/// file or folder marked read-only is treated as such by everyone.
bool canAccess(const QString &path, int mode, unsigned bits);

/// A message for a path too long to be a dictionary file; empty when the path is short enough.
QString pathTooLong(const QString &path);

/// The longest file name, in bytes, that the file system of folder accepts (255 on most).
int maximumNameBytes(const QByteArray &folder);
/// The name of a file derived from a dictionary's (its lock, its temporaries, SQLite's journal): path itself
/// when its last part fits the file system's limit, else that part cut short and ended with a hash of the
/// whole, so that the derived names of two long names stay apart. The same path always gives the same name.
/// reserve bytes are kept free for a suffix the caller adds (a temporary file's random part).
QByteArray fittedPath(const QByteArray &nativePath, int reserve = 0);
QString fittedPath(const QString &path, int reserve = 0);
/// A message for a file name longer than its file system accepts; empty when it fits.
QString nameTooLong(const QString &path);

/// Why the path cannot be reached, from the errno of a failed stat or open (a loop of symbolic links, a file
/// where a folder should be, a name too long, no permission); empty for a plain "does not exist".
QString unreachable(const QString &path, int error);

/// The message for the last failure of db while doing ("open", "save", ...) the dictionary at path.
QString describeError(const QString &path, const SqliteDatabase &db, const QString &doing);

/// The message for a write that failed with the errno error (a full disk, no room for another file, ...).
QString writeFailure(const QString &what, int error);

/// The message for a file that is not a Lexora dictionary.
QString notADictionary(const QString &path);

/// The message for a damaged file: names the tool that says what is wrong.
QString damaged(const QString &path, const QString &what);

} // namespace StorageText
