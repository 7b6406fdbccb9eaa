#include "records/messagerecords.h"

#include "core/clock.h"
#include "core/cp1251.h"
#include "core/datetexts.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "core/vbvalues.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <optional>

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

QString Records::logLine(const MessageState &state)
{
    const QDateTime now = Clock::instance().now();
    return DateTexts::dateText(now.date()) + QStringLiteral(" - ") + DateTexts::timeText(now.time()) +
           QStringLiteral(" - ") + state.SenderUin + QStringLiteral(" : ") + state.MessageText;
}

std::optional<double> Records::requestCounter(const QString &programPath)
{
    const QString text = TextFile::readAll(programPath);
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    if (const std::optional<double> count = VbValues::toNumber(trimmed))
        return count;
    // The first line that is no number, else the second number.
    const QStringList lines = TextFile::splitLines(text);
    bool counted = false;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines.at(n).trimmed();
        if (line.isEmpty())
            continue;
        if (counted || !VbValues::isNumber(line)) {
            TextFile::reportSkippedLine(programPath, int(n + 1), lines.at(n),
                                        counted ? QStringLiteral("второе число в счётчике") : TextFile::notANumber(line));
            break;
        }
        counted = true;
    }
    return std::nullopt;
}

namespace {

// A list file's numbers kept in memory and read again only when the file changed on
// disk (a hand edit, the exit sequence deleting it). stopAtEmpty: only the lines before
// the first empty line count, as the day's list of numbers is scanned.
struct Membership
{
    QString filePath;
    std::optional<Storage::Stamp> stamp;
    bool loaded = false;
    bool stopped = false;
    QSet<QString> members;

    bool contains(const QString &programPath, const QString &uin, bool stopAtEmpty)
    {
        const QString path = TextFile::filePath(programPath);
        if (path != filePath) {
            *this = Membership();
            filePath = path;
        }
        const std::optional<Storage::Stamp> now = Storage::instance().knownStamp(path);
        if (!loaded || now != stamp) {
            members.clear();
            stopped = false;
            const QStringList lines = TextFile::readLines(programPath);
            for (const QString &line : lines) {
                if (stopAtEmpty && line.isEmpty()) {
                    stopped = true;
                    break;
                }
                members.insert(line);
            }
            stamp = now;
            // A stamp of this very moment could hide a second change: read next time too.
            loaded = !now || !Storage::isRecent(*now) || Storage::instance().isWatched(path);
        }
        return members.contains(uin);
    }

    void add(const QString &uin)
    {
        if (!stopped)
            members.insert(uin);
        stamp = Storage::instance().knownStamp(filePath);
        loaded = stamp && (!Storage::isRecent(*stamp) || Storage::instance().isWatched(filePath));
    }
};

struct RecordsState
{
    quint64 generation = 0;
    Membership users;
    Membership hints;
    QString dayFolder;
    QHash<QString, qint64> pendingCounts; // counter file -> requests not yet written
};

// The state belongs to one storage instance; a fresh one (a restart in tests) starts over.
RecordsState &records()
{
    static RecordsState state;
    const quint64 generation = Storage::instance().generation();
    if (state.generation != generation) {
        state = RecordsState();
        state.generation = generation;
    }
    return state;
}

void flushCounter(const QString &counterPath)
{
    const qint64 added = records().pendingCounts.take(TextFile::filePath(counterPath));
    if (added == 0)
        return;
    const double count = Records::requestCounter(counterPath).value_or(0);
    TextFile::writeAll(counterPath, VbValues::printForm(count + double(added)) + CrLf,
                       TextFile::Option::OwnerOnly);
}

} // namespace

bool RecordStatistics(const MessageState &state)
{
    RecordsState &kept = records();
    const QString &uin = state.SenderUin;
    const QString day =
        Records::StatisticsFolder + QLatin1Char('\\') + DateTexts::dateText(Clock::instance().today());
    if (kept.dayFolder != TextFile::filePath(day)) {
        TextFile::ensureFolder(day);
        kept.dayFolder = TextFile::filePath(day);
    }
    constexpr TextFile::Options ownerOnly = TextFile::Option::OwnerOnly;

    bool added = false;
    if (!kept.users.contains(Records::UsersPath, uin, false)) {
        TextFile::appendLine(Records::UsersPath, uin, ownerOnly);
        kept.users.add(uin);
        added = true;
    }

    // Written in batches too: a burst from one user costs one write.
    TextFile::appendLineLater(day + QLatin1Char('\\') + uin + QStringLiteral(".txt"), Records::logLine(state),
                              ownerOnly);

    // The counter is written in batches; any reader through TextFile sees it current.
    const QString counterPath = day + QStringLiteral("\\Обращения.txt");
    qint64 &pending = kept.pendingCounts[TextFile::filePath(counterPath)];
    if (pending++ == 0)
        Storage::instance().defer(TextFile::filePath(counterPath), [counterPath] { flushCounter(counterPath); });

    const QString hintsPath = day + QStringLiteral("\\Хинты.txt");
    if (!kept.hints.contains(hintsPath, uin, true)) {
        TextFile::appendLine(hintsPath, uin, ownerOnly);
        kept.hints.add(uin);
    }
    return added;
}

void Records::openMessageLog()
{
    Storage::instance().openNewestFirst(TextFile::filePath(MessageLogPath), true);
}

void LogMessage(const MessageState &state)
{
    // Journalled beside the log and folded in the background; the log stays newest
    // first at rest, byte for byte as one rewrite per message would leave it.
    Storage::instance().prependLine(TextFile::filePath(Records::MessageLogPath),
                                    Cp1251::encode(QString(Records::logLine(state) + CrLf)), true);
}
