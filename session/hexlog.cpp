#include "session/hexlog.h"

#include "core/programfolder.h"
#include "core/storage.h"
#include "session/databytes.h"

#include <QFile>
#include <QFileInfo>

namespace HexLog {

namespace {

QString entryText(QByteArrayView bytes)
{
    return QStringLiteral("Server send:\r\n") + DataForm::ShowHex(bytes) + QStringLiteral("\r\n\r\n");
}

} // namespace

QByteArray entry(QByteArrayView bytes)
{
    return entryText(bytes).toLatin1();
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
    Storage::instance().appendLater(path, entryText(bytes), true);
    return true;
}

} // namespace HexLog
