#include "chat/chatrecords.h"

#include "chat/chatfiles.h"
#include "core/clock.h"
#include "core/cp1251.h"
#include "core/datetexts.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "core/vbvalues.h"

#include <QHash>

#include <array>
#include <memory>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// An event line stays one line, whatever a member typed into it: no part of it can be
// read as a line of its own (an event, or the rest of a whisper).
void prepend(const QString &programPath, const QString &line)
{
    Storage::instance().prependLine(TextFile::filePath(programPath),
                                    Cp1251::encode(QString(RoomQueue::encodeBreaks(line) + CrLf)), false);
}

// Counter changes that wait for the storage layer's next batch, per file.
struct PendingCounts
{
    std::array<int, 4> amounts{};
    std::array<bool, 4> touched{};
};

struct PendingTable
{
    quint64 generation = 0;
    QHash<QString, std::shared_ptr<PendingCounts>> files;
};

PendingTable &pendingTable()
{
    static PendingTable table;
    const quint64 generation = Storage::instance().generation();
    if (table.generation != generation) {
        // A new storage instance forgot the registrations: so do we.
        table.files.clear();
        table.generation = generation;
    }
    return table;
}

// The four counter lines (empty when missing). A counter that holds no number is kept as
// it stands, so no update can add to it: the operator hears of it once, and the program's
// own rewrites that keep it are no news.
QStringList counterLines(const QString &programPath)
{
    QStringList lines = TextFile::readLines(programPath).mid(0, 4);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].isEmpty() && !VbValues::isNumber(lines[i]))
            ChatFiles::reportSkipped(programPath, i, lines[i], TextFile::notANumber(lines[i]));
    }
    while (lines.size() < 4)
        lines.append(QString());
    return lines;
}

void writeCounts(const QString &programPath, const PendingCounts &counts)
{
    QStringList lines = counterLines(programPath);
    for (int i = 0; i < 4; ++i) {
        if (lines[i].isEmpty())
            lines[i] = VbValues::printForm(0);
        if (!counts.touched[i])
            continue;
        if (const std::optional<double> value = VbValues::toNumber(lines[i]))
            lines[i] = VbValues::printForm(*value + counts.amounts[i]);
    }
    TextFile::writeLines(programPath, lines, TextFile::Option::KeepsLines);
}

void addPending(const QString &programPath, int index, int amount)
{
    PendingTable &table = pendingTable();
    std::shared_ptr<PendingCounts> &counts = table.files[programPath];
    if (!counts) {
        counts = std::make_shared<PendingCounts>();
        const std::shared_ptr<PendingCounts> mine = counts;
        Storage::instance().defer(TextFile::filePath(programPath), [programPath, mine] {
            PendingTable &t = pendingTable();
            if (t.files.value(programPath) == mine)
                t.files.remove(programPath);
            writeCounts(programPath, *mine);
        });
    }
    counts->amounts[index] += amount;
    counts->touched[index] = true;
}

} // namespace

// --- ChatLog ---------------------------------------------------------------------------

QString ChatLog::stamp()
{
    const QDateTime now = Clock::instance().now();
    return DateTexts::dateText(now.date()) + QLatin1Char(' ') + DateTexts::timeText(now.time());
}

void ChatLog::open()
{
    Storage::instance().openNewestFirst(TextFile::filePath(FilePath), false);
    Storage::instance().openNewestFirst(TextFile::filePath(HistoryPath), false);
}

void ChatLog::AddChatLogEntry(const QString &eventLine, bool withHistory)
{
    if (withHistory)
        prepend(HistoryPath, eventLine);
    prepend(FilePath, eventLine);
}

void ChatLog::addHistoryLine(const QString &eventLine)
{
    prepend(HistoryPath, eventLine);
}

QStringList ChatLog::lines()
{
    QStringList lines = TextFile::readLines(FilePath);
    lines.removeAll(QString());
    return lines;
}

QString ChatLog::text()
{
    return TextFile::readAll(FilePath);
}

bool ChatLog::clear()
{
    TextFile::remove(FilePath);
    return !TextFile::exists(FilePath);
}

QStringList ChatHistory::lines()
{
    QStringList lines = TextFile::readLines(FilePath);
    lines.removeAll(QString());
    return lines;
}

// --- ChatStatistics --------------------------------------------------------------------

QString ChatStatistics::dayPath()
{
    return QStringLiteral("\\Подпрограммы\\Статистика_чата") + DateTexts::dateText(Clock::instance().today()) +
           QStringLiteral(".txt");
}

void ChatStatistics::AddChatStatistic(int counter, int amount)
{
    if (counter < 1 || counter > 4)
        return;
    addPending(TotalsPath, counter - 1, amount);
    addPending(dayPath(), counter - 1, amount);
}

QStringList ChatStatistics::dayValues()
{
    return counterLines(dayPath());
}

QStringList ChatStatistics::totalValues()
{
    return counterLines(TotalsPath);
}
