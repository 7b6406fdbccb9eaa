#include "session/connectionlog.h"

#include "core/clock.h"
#include "core/datetexts.h"
#include "core/textfile.h"

namespace ConnectionLog {

QString filePath()
{
    return QStringLiteral("\\Логи\\") + DateTexts::dateText(Clock::instance().today()) +
           QStringLiteral(".txt");
}

bool prepend(const QString &event)
{
    const QDateTime now = Clock::instance().now();
    const QString path =
        QStringLiteral("\\Логи\\") + DateTexts::dateText(now.date()) + QStringLiteral(".txt");
    TextFile::ensureFolder(QStringLiteral("\\Логи"));
    const QString line = DateTexts::dateText(now.date()) + QStringLiteral(" - ") +
                         DateTexts::timeText(now.time()) + QStringLiteral(" - ") + event;
    const QString old = TextFile::readAll(path);
    return bool(TextFile::writeAll(path, line + QStringLiteral("\r\n") + old + QStringLiteral("\r\n")));
}

QString refusedLine(const QString &number, std::optional<quint16> errorCode)
{
    const QString code = errorCode ? QStringLiteral("%1").arg(*errorCode, 4, 16, QLatin1Char('0')).toUpper()
                                   : QStringLiteral("нет");
    return RefusedText.arg(number, code);
}

} // namespace ConnectionLog
