#include "session/hexlog.h"

#include "core/programfolder.h"
#include "core/storage.h"
#include "session/databytes.h"

#include <QFile>
#include <QFileInfo>

namespace HexLog {

QByteArray entry(QByteArrayView bytes)
{
    QByteArray text = "Server send:\r\n";
    text += DataForm::ShowHex(bytes).toLatin1();
    text += "\r\n\r\n";
    return text;
}

bool append(QByteArrayView bytes)
{
    const QString path = ProgramFolder::path(FileName);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).size() >= RotateSize) {
        // Entries still waiting belong to the log that moves aside.
        Storage::instance().flushPending(path);
        const QString old = path + QStringLiteral(".1");
        QFile::remove(old);
        QFile::rename(path, old);
        Storage::instance().invalidate(path);
        Storage::instance().invalidate(old);
    }
    // A pass per burst of frames: the entries go out together, in one write per batch
    // of the storage layer. The log holds every message's text, the administrator's
    // password among them: owner-only.
    Storage::instance().appendLater(path, QString::fromLatin1(entry(bytes)), true);
    return true;
}

} // namespace HexLog
