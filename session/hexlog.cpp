#include "session/hexlog.h"

#include "core/programfolder.h"
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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray text = entry(bytes);
    return file.write(text) == text.size();
}

} // namespace HexLog
