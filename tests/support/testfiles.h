#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// Whole-file reads and writes for tests that check what is, or is not, on the disk.
namespace TestFiles {

/// The file's bytes; empty when it cannot be read (or the path is empty).
QByteArray read(const QString &path);
/// Writes the bytes, replacing the file; false on failure.
bool write(const QString &path, const QByteArray &bytes);
/// Every entry of a folder, hidden ones included.
QStringList entries(const QString &folder);

} // namespace TestFiles
