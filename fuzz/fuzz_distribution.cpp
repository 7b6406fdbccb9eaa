// The distribution's own files as they stand on disk, read and rewritten by its own
// code: the distribution list "index number password count", the assignment list
// "slot number" and the activity list "number date time". Each input writes the three
// files, then loads the list, changes counts, hands out users, refers strangers and
// releases idle users. The same bytes then stand in the command base's side files.
//
// Input: a byte of choices, then the three files' bytes, two with a 2-byte length before
// them, the last to the end.

#include "fuzzsupport.h"

#include "commands/commandsettings.h"
#include "files/groupnumbers.h"
#include "core/clock.h"
#include "core/datetexts.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "session/distribution.h"
#include "files/distributionlist.h"
#include "session/icqsession.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdint>

using Fuzz::require;

namespace {

FixedClock *g_clock = nullptr;
const QDateTime Start(QDate(2008, 3, 5), QTime(9, 5, 7));

// The distribution's files as they stand on disk, read and rewritten by its own code.
void fuzzDistribution(quint8 choices, QByteArrayView list, QByteArrayView assignments, QByteArrayView activity)
{
    TextFile::writeBytes(DistributionList::FilePath, list.toByteArray());
    TextFile::writeBytes(BotDistribution::AssignmentFile, assignments.toByteArray());
    TextFile::writeBytes(BotDistribution::ActivityFile, activity.toByteArray());

    const DistributionList loaded = DistributionList::load();
    QList<int> indexes;
    for (const DistributionList::Entry &entry : loaded.entries()) {
        if (!indexes.contains(entry.index))
            indexes.append(entry.index);
    }
    for (const int slot : indexes.first(std::min<qsizetype>(indexes.size(), 3))) {
        const int before = DistributionList::load().entryForSlot(slot)->count;
        const int delta = (choices & 1) ? -1 : +1;
        DistributionList reloaded = DistributionList::load();
        require(reloaded.changeCount(slot, delta));
        const int now = DistributionList::load().entryForSlot(slot)->count;
        require(now >= 0);
        if (delta > 0)
            require(now >= before);
        else
            require(now <= before);
    }

    int sent = 0;
    BotDistribution distribution(
        [&sent](int slot, const QString &text, const QString &toUin) {
            require(slot >= 1 && slot <= IcqSession::MaxSlot && !text.isEmpty() && !toUin.isEmpty());
            ++sent;
        },
        [choices](int slot) { return (choices & 2) || slot % 2 == 0; });
    const QString uins[] = {QStringLiteral("111111"), QStringLiteral("222222")};
    for (const QString &uin : uins) {
        (void)BotDistribution::assignedSlot(uin);
        for (const int slot : {1, 2}) {
            MessageState state;
            state.slot = slot;
            state.SenderUin = uin;
            state.MessageText = QStringLiteral("привет");
            const int sentBefore = sent;
            if (!distribution.distribute(state))
                require(sent == sentBefore + 1);
        }
    }
    g_clock->advanceSecs((choices >> 2) * 60);
    distribution.releaseIdle();
    for (const QString &line : TextFile::readLines(BotDistribution::ActivityFile))
        require(DateTexts::parseDateTime(line.mid(line.indexOf(QLatin1Char(' ')) + 1)).has_value());
}

// The command base's side files, read the same way with every message.
void fuzzCommandSideFiles(QByteArrayView options, QByteArrayView groups, QByteArrayView information)
{
    TextFile::writeBytes(CommandOptions::FilePath, options.toByteArray());
    TextFile::writeBytes(GroupNumbers::FilePath, groups.toByteArray());
    TextFile::writeBytes(BotInformation::FilePath, information.toByteArray());
    (void)CommandOptions::load();
    // "number:group": the last line of a number counts.
    const QStringList lines = TextFile::readLines(GroupNumbers::FilePath);
    for (const QString &line : lines.first(std::min<qsizetype>(lines.size(), 8))) {
        const QString uin = line.section(QLatin1Char(':'), 0, 0);
        QString group;
        for (const QString &other : lines) {
            if (other.contains(QLatin1Char(':')) && other.section(QLatin1Char(':'), 0, 0) == uin)
                group = other.section(QLatin1Char(':'), 1);
        }
        require(GroupNumbers::groupOf(uin) == group);
    }
    const QString answer = BotInformation::answer();
    require(answer.size() <= information.size() * 2);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::startProgram(argc, argv);
    g_clock = new FixedClock(Start);
    Clock::setInstance(g_clock);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    Fuzz::Cursor cursor(input);
    const quint8 choices = cursor.u8();
    const QByteArrayView list = cursor.piece16();
    const QByteArrayView assignments = cursor.piece16();
    const QByteArrayView activity = cursor.rest();
    fuzzDistribution(choices, list, assignments, activity);
    fuzzCommandSideFiles(list, assignments, activity);
    g_clock->set(Start);
    QCoreApplication::processEvents();
    return 0;
}
