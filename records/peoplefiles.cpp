#include "records/peoplefiles.h"

#include "core/textfile.h"

namespace PeopleFiles {

bool appendLine(const QString &programPath, const QString &line)
{
    const QByteArray bytes = TextFile::readBytes(programPath);
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r')) {
        if (!TextFile::append(programPath, QStringLiteral("\r\n")))
            return false;
    }
    return bool(TextFile::appendLine(programPath, line));
}

} // namespace PeopleFiles
