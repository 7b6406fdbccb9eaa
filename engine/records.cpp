#include "engine/records.h"

#include "core/clock.h"
#include "core/cp1251.h"
#include "core/datetexts.h"
#include "core/textfile.h"
#include "core/vbvalues.h"

#include <QStringList>

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

QString Records::logLine(const MessageState &state)
{
    const QDateTime now = Clock::instance().now();
    return DateTexts::dateText(now.date()) + QStringLiteral(" - ") + DateTexts::timeText(now.time()) +
           QStringLiteral(" - ") + state.SenderUin + QStringLiteral(" : ") + state.MessageText;
}

bool RecordStatistics(const MessageState &state)
{
    const QString &uin = state.SenderUin;
    const QString day =
        Records::StatisticsFolder + QLatin1Char('\\') + DateTexts::dateText(Clock::instance().today());
    TextFile::ensureFolder(day);

    bool added = false;
    if (!TextFile::readLines(Records::UsersPath).contains(uin)) {
        TextFile::appendLine(Records::UsersPath, uin);
        added = true;
    }

    TextFile::appendLine(day + QLatin1Char('\\') + uin + QStringLiteral(".txt"), Records::logLine(state));

    const QString counterPath = day + QStringLiteral("\\Обращения.txt");
    const double count = VbValues::toNumber(TextFile::readAll(counterPath).trimmed()).value_or(0);
    TextFile::writeAll(counterPath, VbValues::printForm(count + 1) + CrLf);

    const QString hintsPath = day + QStringLiteral("\\Хинты.txt");
    bool seen = false;
    const QStringList hints = TextFile::readLines(hintsPath);
    for (const QString &line : hints) {
        if (line.isEmpty())
            break;
        if (line == uin) {
            seen = true;
            break;
        }
    }
    if (!seen)
        TextFile::appendLine(hintsPath, uin);
    return added;
}

void LogMessage(const MessageState &state)
{
    // Prepended as bytes: the old log is copied, never decoded and encoded again.
    const QByteArray previous = TextFile::readBytes(Records::MessageLogPath);
    QByteArray log = Cp1251::encode(Records::logLine(state) + CrLf);
    if (!previous.isEmpty())
        log += previous + "\r\n";
    TextFile::writeBytes(Records::MessageLogPath, log);
}
