#pragma once

#include <QByteArrayView>
#include <QString>

// WORK.log in the program folder: one entry per pass of the session handler, only ever
// appended to. Rotated to WORK.log.1 once it reaches 16 MiB.
namespace HexLog {

inline const QString FileName = QStringLiteral("WORK.log");
constexpr qint64 RotateSize = 16 * 1024 * 1024;

// "Server send:", the hex dump of bytes, an empty line; each line ended by CR LF.
QByteArray entry(QByteArrayView bytes);

// Appends one entry, written together with the entries of the same storage batch (any
// read of the log, the background tick, the exit); a refusal is reported by the storage
// layer then. False when the log has no place in the program folder.
bool append(QByteArrayView bytes);

} // namespace HexLog
