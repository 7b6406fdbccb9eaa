#include "session/distribution.h"

#include "core/clock.h"
#include "core/datetexts.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "files/distributionlist.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcDistribution, "korvane.distribution", QtInfoMsg)

namespace {

using Assignment = BotDistribution::Assignment;

// "slot number" of the assignment list, compared as whole fields.
std::optional<Assignment> parseAssignment(const QString &line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return std::nullopt;
    bool ok = false;
    const int slot = line.left(blank).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return Assignment{slot, line.mid(blank + 1)};
}

QString firstField(const QString &line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    return blank < 0 ? line : line.left(blank);
}

// firstField(line) == uin, without a copy: it runs over every line per message.
bool firstFieldIs(QStringView line, QStringView uin)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    return (blank < 0 ? line : line.left(blank)) == uin;
}

// parseAssignment(line) names this slot and number, without a copy.
bool assigns(QStringView line, int slot, QStringView uin)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0 || line.mid(blank + 1) != uin)
        return false;
    bool ok = false;
    return line.left(blank).toInt(&ok) == slot && ok;
}

QString activityLine(const QString &uin)
{
    return uin + QLatin1Char(' ') + DateTexts::dateTimeText(Clock::instance().now());
}

// Writes the lines, or deletes the file when none are left.
void rewriteOrRemove(const QString &path, const QStringList &lines, TextFile::Options options = {})
{
    if (lines.isEmpty())
        TextFile::remove(path);
    else
        TextFile::writeLines(path, lines, options);
}

} // namespace

BotDistribution::BotDistribution(SendFunction send, SignedOnCheck isSignedOn)
    : m_send(std::move(send))
    , m_isSignedOn(std::move(isSignedOn))
{}

QList<BotDistribution::Assignment> BotDistribution::assignments()
{
    QList<Assignment> list;
    const QStringList lines = TextFile::readLines(AssignmentFile);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        if (std::optional<Assignment> assignment = parseAssignment(lines.at(n))) {
            list.append(std::move(*assignment));
        } else if (!lines.at(n).isEmpty()) {
            const QString &line = lines.at(n);
            const qsizetype blank = line.indexOf(QLatin1Char(' '));
            TextFile::reportSkippedLine(AssignmentFile, int(n + 1), line,
                                        blank < 0 ? TextFile::missingSeparator(u" ")
                                                  : TextFile::notANumber(QStringView(line).left(blank)));
        }
    }
    return list;
}

int BotDistribution::assignedSlot(const QString &uin)
{
    for (const Assignment &assignment : assignments()) {
        if (assignment.uin == uin)
            return assignment.slot;
    }
    return 0;
}

bool BotDistribution::distribute(MessageState &state)
{
    const QString &uin = state.SenderUin;
    if (state.slot > 1) {
        // A secondary bot serves only its own users.
        for (const QString &line : TextFile::readLines(AssignmentFile)) {
            if (assigns(line, state.slot, uin)) {
                refreshActivity(uin);
                return true;
            }
        }
        // Not ours: a line we could not read may have been meant for this user, so it is
        // reported (the full parse only on this rare path).
        assignments();
        m_send(1, ReferralText, uin);
        return false;
    }

    DistributionList list = DistributionList::load();
    if (list.entries().isEmpty()) {
        refreshActivity(uin);
        return true;
    }
    if (const int slot = assignedSlot(uin)) {
        m_send(slot, YourBotText, uin);
        return false;
    }
    for (const DistributionList::Entry &entry : list.entries()) {
        if (entry.count >= UsersPerBot || !m_isSignedOn(entry.index))
            continue;
        list.changeCount(entry.index, +1);
        TextFile::appendLine(AssignmentFile, QString::number(entry.index) + QLatin1Char(' ') + uin);
        TextFile::appendLine(ActivityFile, activityLine(uin));
        m_send(entry.index, AssignedText, uin);
        return false;
    }
    m_send(1, AllBusyText, uin);
    return false;
}

void BotDistribution::refreshActivity(const QString &uin)
{
    // While a rewrite is pending the list in memory is the current one; any read or write
    // of the file through the storage layer writes it first. Edited in place: only the
    // user's own line changes, empty lines go.
    if (!m_activity->pending)
        m_activity->lines = TextFile::readLines(ActivityFile);
    QStringList &kept = m_activity->lines;
    if (kept.isEmpty()) {
        kept.append(activityLine(uin));
    } else {
        if (kept.contains(QString()))
            kept.removeAll(QString());
        // Looked over without a copy; only a line that changes is written to.
        for (qsizetype i = 0; i < kept.size(); ++i) {
            if (firstFieldIs(kept.at(i), uin))
                kept[i] = activityLine(uin);
        }
    }
    if (m_activity->pending)
        return;
    m_activity->pending = true;
    Storage::instance().defer(TextFile::filePath(ActivityFile), [activity = m_activity] {
        activity->pending = false;
        TextFile::writeLines(ActivityFile, activity->lines);
    });
}

void BotDistribution::releaseIdle()
{
    const QStringList lines = TextFile::readLines(ActivityFile);
    if (lines.isEmpty())
        return;
    // To the minute: an entry of 10:30:59 is idle at 10:50:00.
    QDateTime now = Clock::instance().now();
    now.setTime(QTime(now.time().hour(), now.time().minute()));
    const QDateTime cutOff = now.addSecs(-IdleMinutes * 60);

    QStringList kept;
    int undated = 0;
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        const QString uin = firstField(line);
        const std::optional<QDateTime> seen = DateTexts::parseDateTime(line.mid(uin.size() + 1));
        if (seen) {
            const QDateTime seenMinute(seen->date(), QTime(seen->time().hour(), seen->time().minute()));
            if (seenMinute > cutOff) {
                kept.append(line);
                continue;
            }
        } else {
            ++undated;
        }
        release(uin);
    }
    if (undated > 0)
        qCInfo(lcDistribution).noquote() << undated << "activity line(s) without a date and time; users released";
    rewriteOrRemove(ActivityFile, kept);
}

void BotDistribution::release(const QString &uin)
{
    const QStringList lines = TextFile::readLines(AssignmentFile);
    if (lines.isEmpty())
        return;
    QStringList kept;
    for (const QString &line : lines) {
        const std::optional<Assignment> assignment = parseAssignment(line);
        if (assignment && assignment->uin == uin) {
            DistributionList list = DistributionList::load();
            list.changeCount(assignment->slot, -1);
            continue;
        }
        kept.append(line);
    }
    rewriteOrRemove(AssignmentFile, kept, TextFile::Option::KeepsLines);
}
