#include "records/statuschoice.h"

#include "core/textfile.h"

namespace StatusChoice {

QStringList names()
{
    return {QStringLiteral("Онлайн"), QStringLiteral("Отошёл"),     QStringLiteral("Не доступен"),
            QStringLiteral("Занят"),  QStringLiteral("Не видимый"), QStringLiteral("Готов поболтать")};
}

int codeOf(const QString &name)
{
    return int(names().indexOf(name)) + 1;
}

int botStatusOf(int code)
{
    switch (code) {
    case 1:
        return 1;
    case 4:
        return 2;
    case 5:
        return 3;
    default:
        return 0;
    }
}

int choose(const QString &name)
{
    const int code = codeOf(name);
    if (code == 0)
        return 0;
    return TextFile::writeLines(FilePath, {QString::number(code)}) ? code : 0;
}

} // namespace StatusChoice
