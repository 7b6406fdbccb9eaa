#pragma once

#include "core/cp1251.h"

#include <QByteArray>
#include <QString>

// Command files as the program folder holds them: Windows-1251, CR LF.
inline QByteArray cp(const QString &text)
{
    return Cp1251::encode(text);
}

// One text record of a group file.
inline QByteArray rec(const QString &name, const QString &body)
{
    return cp(QStringLiteral("Команда: ") + name + QStringLiteral("\r\nДействие: ") + body +
              QStringLiteral("\r\n====\r\n"));
}
