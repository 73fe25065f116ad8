#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// Reaches a dictionary file behind the engine's back, as another program or a damaged disk would.
namespace RawSqlite {

/// Runs statements on the file (creating it when missing); false on any failure.
bool exec(const QString &path, const QByteArray &statements);

/// The rows of a query, each row's columns joined by "|"; empty when the file cannot be read.
QStringList query(const QString &path, const QByteArray &statement);

} // namespace RawSqlite
