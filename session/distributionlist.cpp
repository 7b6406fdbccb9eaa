#include "session/distributionlist.h"

#include "core/textfile.h"
#include "session/icqsession.h"
#include "session/incomingreader.h"

#include <QLoggingCategory>

#include <algorithm>
#include <limits>

Q_LOGGING_CATEGORY(lcDistributionList, "korvane.distribution", QtInfoMsg)

std::optional<DistributionList::Entry> DistributionList::parseLine(const QString &line)
{
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 3)
        return std::nullopt;
    Entry entry;
    bool ok = false;
    entry.index = fields.at(0).toInt(&ok);
    if (!ok || entry.index < 2 || entry.index > IcqSession::MaxSlot)
        return std::nullopt;
    entry.number = fields.at(1);
    if (!IncomingReader::isValidUin(entry.number.toLatin1()) || entry.number.size() > 10)
        return std::nullopt;
    entry.password = fields.at(2);
    if (fields.size() >= 4) {
        entry.count = fields.at(3).toInt(&ok);
        if (!ok)
            entry.count = 0;
    }
    entry.count = std::max(entry.count, 0);
    return entry;
}

DistributionList DistributionList::load()
{
    DistributionList list;
    list.m_lines = TextFile::readLines(FilePath);
    int firstBad = 0;
    for (int n = 0; n < list.m_lines.size(); ++n) {
        const QString &line = list.m_lines.at(n);
        if (line.isEmpty())
            break;
        std::optional<Entry> entry = parseLine(line);
        if (!entry) {
            if (list.m_skipped.isEmpty())
                firstBad = n + 1;
            list.m_skipped.append(line);
            continue;
        }
        entry->line = n;
        list.m_entries.append(*entry);
    }
    // Once per content of the file, not per line nor per message that loads it; never the
    // password in a trace: the line's index is enough to find it.
    static size_t reportedFor = 0;
    const size_t content = qHash(list.m_lines);
    if (!list.m_skipped.isEmpty() && content != reportedFor) {
        reportedFor = content;
        qCInfo(lcDistributionList).noquote()
            << "distribution list:" << list.m_skipped.size()
            << "line(s) not \"index number password count\", skipped; the first is line" << firstBad;
    }
    return list;
}

bool DistributionList::isEmpty()
{
    return TextFile::readAll(FilePath).isEmpty();
}

std::optional<DistributionList::Entry> DistributionList::entryForSlot(int slot) const
{
    for (const Entry &entry : m_entries) {
        if (entry.index == slot)
            return entry;
    }
    return std::nullopt;
}

bool DistributionList::changeCount(int slot, int delta)
{
    bool found = false;
    for (Entry &entry : m_entries) {
        if (entry.index != slot)
            continue;
        found = true;
        // A hand-edited count may stand at the top of the range: it stays there.
        entry.count = int(std::clamp<qint64>(qint64(entry.count) + delta, 0, std::numeric_limits<int>::max()));
        const QChar blank(QLatin1Char(' '));
        m_lines[entry.line] = QString::number(entry.index) + blank + entry.number + blank + entry.password +
                              blank + QString::number(entry.count);
    }
    if (!found)
        return false;
    return bool(TextFile::writeLines(FilePath, m_lines, TextFile::Option::OwnerOnly));
}
