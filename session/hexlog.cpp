#include "session/hexlog.h"

#include "core/programfolder.h"
#include "core/textfile.h"
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
    if (QFileInfo(path).size() >= RotateSize) {
        const QString old = path + QStringLiteral(".1");
        QFile::remove(old);
        QFile::rename(path, old);
    }
    // The log holds every message's text, the administrator's password among them.
    return bool(TextFile::append(TextFile::Absolute{path}, QString::fromLatin1(entry(bytes)),
                                 TextFile::Option::OwnerOnly));
}

} // namespace HexLog
