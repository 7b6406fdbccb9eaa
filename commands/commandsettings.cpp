#include "commands/commandsettings.h"

#include "core/textfile.h"
#include "core/vbvalues.h"

#include <QStringList>

CommandOptions CommandOptions::load()
{
    const QString text = TextFile::readAll(FilePath);
    if (text.isEmpty()) {
        TextFile::writeLines(FilePath, {QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("1")});
        return {};
    }
    // Read for every message: parsed once per version of the text.
    thread_local TextFile::PerVersion<QString, CommandOptions> parsed;
    return parsed.of(text, [](const QString &text) {
        const QStringList lines = TextFile::splitLines(text);
        auto isOne = [&lines](int index) {
            return index < lines.size() && VbValues::holdsNumber(lines.at(index), 1);
        };
        CommandOptions options;
        options.upperCase = isOne(0);
        options.joint = isOne(1);
        options.trim = isOne(2);
        return options;
    });
}

namespace {

// Lines joined by CR LF; empty lines before the first text line are dropped.
QString joinDroppingLeadingEmpty(const QStringList &lines, qsizetype from)
{
    QString joined;
    for (qsizetype i = from; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (joined.isEmpty()) {
            joined = line;
            continue;
        }
        joined += QStringLiteral("\r\n") + line;
    }
    return joined;
}

} // namespace

QString BotInformation::answer()
{
    const QStringList lines = TextFile::readLines(FilePath);
    if (lines.isEmpty() || !VbValues::holdsNumber(lines.first(), 1))
        return {};
    return joinDroppingLeadingEmpty(lines, 1);
}

QString UnknownCommand::replyText()
{
    const QString text = TextFile::readAll(FilePath);
    return text.isEmpty() ? DefaultReply : text;
}
