// The data files an operator keeps besides the chat's, read, written back and read again
// by their owners: the user blacklist with its start-up purge, the vote with its results,
// the notepad, the anti-spam, redirect, signature and administrator-contact files, the
// contact book, the mailing list and the per-user statistics.
//
// Input: a byte choosing the file, then the file's bytes with a 2-byte length before
// them, then a second text to the end (the vote's results, a contact, a number).

#include "fuzzsupport.h"

#include "core/clock.h"
#include "core/cp1251.h"
#include "core/datetexts.h"
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "files/admincontactfile.h"
#include "files/antispamfile.h"
#include "files/notepadfiles.h"
#include "files/redirectfile.h"
#include "files/signaturefile.h"
#include "files/userblacklist.h"
#include "files/votefile.h"
#include "records/automailing.h"
#include "records/contactbook.h"
#include "records/messagerecords.h"
#include "records/statisticsrecords.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>

using Fuzz::require;

namespace {

FixedClock *g_clock = nullptr;
const QDateTime Start(QDate(2008, 3, 5), QTime(9, 5, 7));

// A field ending in this runs into the ":^:" written after it, so the line reads back
// with its fields shifted. The owners accept such a field as storable; the checks below
// leave those fields out.
const QString SeparatorStart = QStringLiteral(":^");

bool runsIntoSeparator(const QStringList &fields)
{
    for (qsizetype i = 0; i + 1 < fields.size(); ++i) {
        if (fields.at(i).endsWith(SeparatorStart))
            return true;
    }
    return false;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// The file reads as Windows-1251. Text written in it whose bytes happen to form UTF-8
// (or start with the bytes of a BOM) reads back as UTF-8, so is not compared.
bool readsAsWindows1251(const QString &programPath)
{
    bool converted = false;
    (void)Storage::decode(TextFile::readBytes(programPath), &converted);
    return !converted;
}

void fuzzUserBlacklist(const QString &number)
{
    const QStringList lines = TextFile::readLines(UserBlacklist::FilePath);
    for (const QString &line : lines) {
        const std::optional<UserBlacklist::Entry> entry = UserBlacklist::parseLine(line);
        if (!entry)
            continue;
        if (!runsIntoSeparator({entry->number, entry->until, entry->reason}))
            require(UserBlacklist::parseLine(UserBlacklist::formatLine(*entry)) == entry);
        (void)UserBlacklist::isStanding(*entry, Clock::instance().today());
        if (!entry->number.isEmpty())
            require(UserBlacklist::contains(entry->number));
    }
    for (const UserBlacklist::Entry &entry : UserBlacklist::entries())
        (void)UserBlacklist::banOf(entry.number);
    const QStringList kept = UserBlacklist::keptAfterPurge(lines, Clock::instance().today());
    require(kept.size() <= lines.size());

    const UserBlacklist::Entry ban{number, QStringLiteral("05.03.2009"), QStringLiteral("спам")};
    if (UserBlacklist::refusal(ban).isEmpty() && !UserBlacklist::contains(number) && UserBlacklist::add(ban) &&
        readsAsWindows1251(UserBlacklist::FilePath)) {
        require(UserBlacklist::contains(number));
        require(UserBlacklist::banOf(number).has_value());
    }
    (void)UserBlacklist::change(ban);
    const UserBlacklist::Purged purged = UserBlacklist::purgeExpired(Clock::instance().today());
    require(purged.expired >= 0 && purged.malformed >= 0);
    if (UserBlacklist::lift(number))
        require(!UserBlacklist::contains(number));
}

void fuzzVote(const QString &results)
{
    TextFile::writeAll(VoteFile::ResultsPath, results);
    const std::optional<VoteFile::Definition> definition = VoteFile::read();
    const QList<VoteFile::Count> counts = VoteFile::results();
    if (!definition) {
        require(counts.isEmpty());
        return;
    }
    require(counts.size() == definition->options.size());
    int votes = 0;
    for (qsizetype i = 0; i < counts.size(); ++i) {
        require(counts.at(i).votes >= 0);
        if (i > 0)
            require(counts.at(i - 1).votes >= counts.at(i).votes);
        votes += counts.at(i).votes;
    }
    require(votes <= TextFile::readLines(VoteFile::ResultsPath).size());
    // A vote written afresh reads back as it was given.
    const auto storable = [](const QString &text) {
        return !text.isEmpty() && !VoteFile::unstorable(text);
    };
    QStringList options = definition->options;
    options.removeIf([&storable](const QString &option) { return !storable(option); });
    if (storable(definition->question) && !hasLineBreak(definition->question)) {
        const std::optional<VoteFile::Definition> again =
            VoteFile::parse(VoteFile::format(definition->question, options));
        require(again && again->question == definition->question);
        if (!options.isEmpty())
            require(again->options == options);
    }
    VoteFile::remove();
    require(!VoteFile::read());
}

void fuzzNotepad(const QString &number)
{
    (void)NotepadFiles::isOn();
    for (const QString &owner : NotepadFiles::owners()) {
        const QString path = NotepadFiles::notePath(owner);
        if (!path.isEmpty())
            (void)TextFile::readAll(path);
    }
    const QString path = NotepadFiles::notePath(number);
    bool digits = !number.isEmpty() && number.size() <= 15;
    for (const QChar c : number)
        digits = digits && c >= u'0' && c <= u'9';
    require(path.isEmpty() != digits);
    require(path.isEmpty() || !path.contains(QLatin1Char('/')));
}

void fuzzAntiSpam()
{
    const AntiSpamFile::Contents read = AntiSpamFile::read();
    if (AntiSpamFile::unstorable(read.question) || AntiSpamFile::unstorable(read.answer) ||
        AntiSpamFile::unstorable(read.success))
        return;
    const AntiSpamFile::Contents again = AntiSpamFile::parse(AntiSpamFile::format(read));
    require(again.on == read.on && again.question == read.question && again.answer == read.answer &&
            again.success == read.success);
}

void fuzzRedirect()
{
    const RedirectFile::Contents read = RedirectFile::read();
    require(!(read.answersToo() && read.forwardOnly()));
    for (const bool answersToo : {true, false}) {
        const RedirectFile::Contents again = RedirectFile::parse(RedirectFile::format(read.target, answersToo));
        require(again.target == read.target && again.answersToo() == answersToo &&
                again.forwardOnly() == !answersToo);
    }
}

void fuzzSignature()
{
    const SignatureFile::Contents read = SignatureFile::read();
    const SignatureFile::Contents again =
        SignatureFile::parse(SignatureFile::format(read.separator, read.signatureText()));
    require(again.on && again.separator == read.separator && again.signatureText() == read.signatureText());
    for (const QString &signature : read.signatures)
        (void)SignatureFile::withSignature(QStringLiteral("ответ"), read.separator, signature);
}

void fuzzAdminContact()
{
    const AdminContactFile::Contents read = AdminContactFile::read();
    const AdminContactFile::Contents again = AdminContactFile::parse(AdminContactFile::format(read));
    require(again.on == read.on && again.admin == read.admin);
}

void fuzzContactBook(const QString &line)
{
    ContactBook book;
    const QList<ContactEntry> entries = ContactBook::entries();
    for (const ContactEntry &entry : entries) {
        require(entry.line >= 1);
        if (ContactBook::isStorable(entry.contact))
            require(Contact::fromLine(entry.contact.line()) == entry.contact);
        const std::optional<ContactEntry> found = ContactBook::find(entry.contact.fio, ContactBook::Key::Fio);
        require(found && found->line <= entry.line);
    }
    const Contact contact = Contact::fromLine(line);
    const ContactBook::Result added = book.add(contact);
    if (added == ContactBook::Result::Done &&
        readsAsWindows1251(ContactBook::FilePath)) {
        const std::optional<ContactEntry> found = ContactBook::find(contact.uin, ContactBook::Key::Uin);
        require(found.has_value());
    }
    if (!entries.isEmpty()) {
        const ContactEntry &first = entries.first();
        (void)book.change(first.line, first.contact, contact);
        (void)book.remove(first.line, contact);
    }
}

void fuzzMailingList(const QString &number)
{
    const QStringList before = SubscriberList::load();
    // A line added after a hand-edited last line without its line end stands on a line
    // of its own, except an empty one: its line end only ends that last line.
    const QByteArray old = TextFile::readBytes(SubscriberList::FilePath);
    const bool empty = number.isEmpty() && !old.isEmpty() && !old.endsWith('\n') && !old.endsWith('\r');
    if (!hasLineBreak(number) && SubscriberList::add(number) && !empty &&
        readsAsWindows1251(SubscriberList::FilePath)) {
        require(SubscriberList::load().contains(number));
        if (SubscriberList::remove(number))
            require(!SubscriberList::load().contains(number));
    }
    (void)AutoMailing::rangeBound(number);
    for (const QString &line : before) {
        const qint64 bound = AutoMailing::rangeBound(line);
        require(bound >= -1);
    }
}

QString statisticsFile(const QString &name)
{
    return StatisticsRecords::dayFolder(DateTexts::dateText(Start.date())) + QLatin1Char('\\') + name;
}

// The engine counts a message from number (when it is one) over the files as they are,
// and the windows read them back.
void fuzzStatistics(const QString &number)
{
    const QString day = DateTexts::dateText(Start.date());
    for (const QString &uin : StatisticsRecords::usersSinceStart() + StatisticsRecords::numbers(day))
        require(!uin.isEmpty() && uin.size() <= 15);
    require(StatisticsRecords::requestNumber(day) >= 0);
    bool digits = !number.isEmpty() && number.size() <= 15;
    for (const QChar c : number)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!digits)
        return;
    MessageState state;
    state.SenderUin = number;
    state.MessageText = QStringLiteral("x");
    RecordStatistics(state);
    require(StatisticsRecords::usersSinceStart().contains(number));
    require(StatisticsRecords::numbers(day).contains(number));
    require(StatisticsRecords::requestNumber(day) >= 0);
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
    const quint8 choice = cursor.u8();
    const QByteArrayView bytes = cursor.piece16();
    const QString second = Cp1251::decode(cursor.rest().toByteArray());

    struct Area
    {
        QString path;
        std::function<void()> run;
    };
    const Area areas[] = {
        {UserBlacklist::FilePath, [&] { fuzzUserBlacklist(second); }},
        {VoteFile::DefinitionPath, [&] { fuzzVote(second); }},
        {NotepadFiles::ListPath, [&] { fuzzNotepad(second); }},
        {NotepadFiles::SwitchPath, [&] { fuzzNotepad(second); }},
        {AntiSpamFile::FilePath, [] { fuzzAntiSpam(); }},
        {RedirectFile::FilePath, [] { fuzzRedirect(); }},
        {SignatureFile::FilePath, [] { fuzzSignature(); }},
        {AdminContactFile::FilePath, [] { fuzzAdminContact(); }},
        {ContactBook::FilePath, [&] { fuzzContactBook(second); }},
        {SubscriberList::FilePath, [&] { fuzzMailingList(second); }},
        {statisticsFile(QStringLiteral("Обращения.txt")), [&] { fuzzStatistics(second); }},
        {statisticsFile(QStringLiteral("Хинты.txt")), [&] { fuzzStatistics(second); }},
        {Records::UsersPath, [&] { fuzzStatistics(second); }},
    };
    const Area &area = areas[choice % std::size(areas)];
    Fuzz::putFile(TextFile::filePath(area.path), bytes);
    area.run();
    Storage::instance().flushAll();
    QCoreApplication::processEvents();
    Storage::discard();
    Fuzz::clearFolder(ProgramFolder::home());
    return 0;
}
