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

/// The message for the last failure of db while doing ("open", "save", ...) the dictionary at path.
QString describeError(const QString &path, const SqliteDatabase &db, const QString &doing);

/// The message for a file that is not a Lexora dictionary.
QString notADictionary(const QString &path);

/// The message for a damaged file: names the tool that says what is wrong.
QString damaged(const QString &path, const QString &what);

} // namespace StorageText
