#pragma once

#include <QByteArray>
#include <QString>

/// Reaches a dictionary file behind the engine's back, as another program or a damaged disk would.
namespace RawSqlite {

/// Runs statements on the file (creating it when missing); false on any failure.
bool exec(const QString &path, const QByteArray &statements);

} // namespace RawSqlite
