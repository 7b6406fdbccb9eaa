// The ban check, the day statistics and the message log.
#include "core/clock.h"
#include "core/cp1251.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "engine/answerengine.h"
#include "engine/bancheck.h"
#include "records/messagerecords.h"
#include "support/programhome.h"

#include <QFile>
#include <QTest>

#include <memory>

namespace {
const QString Blacklist = QStringLiteral("\\Списки пользователей\\Черный список.txt");
const QString ChatBans = QStringLiteral("\\Подпрограммы\\Черный список.txt");
const QString Gone = QStringLiteral("<gone>");
const QString Day = QStringLiteral("\\Статистика\\05.03.2008");

MessageState message(const QString &uin, const QString &text = QString())
{
    MessageState state;
    state.SenderUin = uin;
    state.MessageText = text;
    state.ReplyText = QStringLiteral("прежний");
    return state;
}
} // namespace

class tst_Records : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void bans_data();
    void bans();

    void statisticsOfADay();
    void newUserReported();
    void hintsScanStopsAtEmptyLine();
    void newDayNewFolder();
    void messageLogNewestFirst();
    void messageLogKeepsEveryByte();
    void messageLogAfterKillAndRestart();
    void statisticsFollowHandEdits();
    void refusedWriteKeepsAnswering();
    void editedCommandBaseChangesNextAnswer();

private:
    std::unique_ptr<ProgramHome> m_home;
    FixedClock m_clock{QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7))};
};

void tst_Records::init()
{
    Storage::discard();
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_clock.set(QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7)));
    Clock::setInstance(&m_clock);
}

void tst_Records::cleanup()
{
    Storage::discard();
    Storage::setReporter({});
    Clock::setInstance(nullptr);
}

void tst_Records::bans_data()
{
    QTest::addColumn<QString>("chat");
    QTest::addColumn<QString>("blacklist");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<bool>("banned");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("blacklistAfter");

    const QString chatText = QStringLiteral("Вы забанены в чате. Попробуйте обратиться к боту позже.");
    const QString chat = QStringLiteral("Ник:^:123:^:06.03.2008 10:00:00:^:флуд\r\n");
    QTest::newRow("chat ban") << chat << ""
                              << "123" << true << chatText << Gone;
    QTest::newRow("chat ban, longer number") << chat << ""
                                             << "1234" << false << "прежний" << Gone;
    QTest::newRow("chat ban, shorter number") << chat << ""
                                              << "12" << false << "прежний" << Gone;
    QTest::newRow("chat ban wins over blacklist") << chat << "123:^:04.03.2008:^:x\r\n"
                                                  << "123" << true << chatText << "123:^:04.03.2008:^:x\r\n";

    const QString tomorrow = QStringLiteral("123:^:06.03.2008:^:спам\r\n");
    QTest::newRow("ban until tomorrow")
        << "" << tomorrow << "123" << true << "Вы забанены до: 06.03.2008\r\nПричина бана: спам" << tomorrow;
    QTest::newRow("whole number field") << "" << tomorrow << "12" << false << "прежний" << tomorrow;
    QTest::newRow("reason holding the separator")
        << ""
        << "123:^:06.03.2008:^:мат:^:и флуд\r\n"
        << "123" << true << "Вы забанены до: 06.03.2008\r\nПричина бана: мат:^:и флуд"
        << "123:^:06.03.2008:^:мат:^:и флуд\r\n";
    QTest::newRow("date not readable") << ""
                                       << "123:^:когда-нибудь:^:x\r\n"
                                       << "123" << true << "Вы забанены до: когда-нибудь\r\nПричина бана: x"
                                       << "123:^:когда-нибудь:^:x\r\n";
    QTest::newRow("expires today, only line") << ""
                                              << "123:^:05.03.2008:^:x\r\n"
                                              << "123" << false << "прежний" << Gone;
    QTest::newRow("expired, other lines kept")
        << ""
        << "7:^:01.01.2030:^:a\r\n123:^:04.03.2008:^:x\r\n8:^:01.01.2030:^:b\r\n123:^:01.01.2030:^:y\r\n"
        << "123" << false << "прежний"
        << "7:^:01.01.2030:^:a\r\n8:^:01.01.2030:^:b\r\n";
    QTest::newRow("after an empty line") << ""
                                         << "7:^:01.01.2030:^:a\r\n\r\n123:^:06.03.2008:^:x\r\n"
                                         << "123" << false << "прежний"
                                         << "7:^:01.01.2030:^:a\r\n\r\n123:^:06.03.2008:^:x\r\n";
    QTest::newRow("in neither list") << ""
                                     << ""
                                     << "123" << false << "прежний" << Gone;
}

void tst_Records::bans()
{
    QFETCH(QString, chat);
    QFETCH(QString, blacklist);
    QFETCH(QString, sender);
    QFETCH(bool, banned);
    QFETCH(QString, reply);
    QFETCH(QString, blacklistAfter);
    if (!chat.isEmpty())
        TextFile::writeAll(ChatBans, chat);
    if (!blacklist.isEmpty())
        TextFile::writeAll(Blacklist, blacklist);
    MessageState state = message(sender);
    QCOMPARE(CheckBans(state), banned);
    QCOMPARE(state.SenderBanned, banned);
    QCOMPARE(state.ReplyText, reply);
    if (blacklistAfter == Gone)
        QVERIFY(!TextFile::exists(Blacklist));
    else
        QCOMPARE(TextFile::readAll(Blacklist), blacklistAfter);
    QCOMPARE(TextFile::readAll(ChatBans), chat); // never written
}

void tst_Records::statisticsOfADay()
{
    QVERIFY(RecordStatistics(message(QStringLiteral("123"), QStringLiteral("привет\r\nвторая"))));
    QCOMPARE(TextFile::readAll(Day + QStringLiteral("\\Обращения.txt")), QStringLiteral(" 1 \r\n"));
    QCOMPARE(TextFile::readAll(Day + QStringLiteral("\\Хинты.txt")), QStringLiteral("123\r\n"));
    QCOMPARE(TextFile::readAll(Day + QStringLiteral("\\123.txt")),
             QStringLiteral("05.03.2008 - 9:05:07 - 123 : привет\r\nвторая\r\n"));

    m_clock.advanceSecs(60);
    QVERIFY(!RecordStatistics(message(QStringLiteral("123"), QStringLiteral("ещё"))));
    QVERIFY(RecordStatistics(message(QStringLiteral("456"), QStringLiteral("я"))));
    QCOMPARE(TextFile::readAll(Day + QStringLiteral("\\Обращения.txt")), QStringLiteral(" 3 \r\n"));
    QCOMPARE(TextFile::readAll(Day + QStringLiteral("\\Хинты.txt")), QStringLiteral("123\r\n456\r\n"));
    QCOMPARE(TextFile::readAll(Day + QStringLiteral("\\123.txt")),
             QStringLiteral(
                 "05.03.2008 - 9:05:07 - 123 : привет\r\nвторая\r\n05.03.2008 - 9:06:07 - 123 : ещё\r\n"));
    QCOMPARE(TextFile::readAll(Records::UsersPath), QStringLiteral("123\r\n456\r\n"));
}

void tst_Records::newUserReported()
{
    TextFile::writeAll(Records::UsersPath, QStringLiteral("1\r\n2\r\n"));
    QVERIFY(!RecordStatistics(message(QStringLiteral("2"))));
    QCOMPARE(TextFile::readAll(Records::UsersPath), QStringLiteral("1\r\n2\r\n"));
    QVERIFY(RecordStatistics(message(QStringLiteral("3"))));
    QCOMPARE(TextFile::readAll(Records::UsersPath), QStringLiteral("1\r\n2\r\n3\r\n"));
}

void tst_Records::hintsScanStopsAtEmptyLine()
{
    TextFile::writeAll(Day + QStringLiteral("\\Хинты.txt"), QStringLiteral("1\r\n\r\n123\r\n"));
    TextFile::writeAll(Day + QStringLiteral("\\Обращения.txt"), QStringLiteral(" 41 \r\n"));
    RecordStatistics(message(QStringLiteral("123")));
    QCOMPARE(TextFile::readAll(Day + QStringLiteral("\\Хинты.txt")),
             QStringLiteral("1\r\n\r\n123\r\n123\r\n"));
    QCOMPARE(TextFile::readAll(Day + QStringLiteral("\\Обращения.txt")), QStringLiteral(" 42 \r\n"));
}

void tst_Records::newDayNewFolder()
{
    RecordStatistics(message(QStringLiteral("123")));
    m_clock.advanceDays(1);
    RecordStatistics(message(QStringLiteral("123")));
    QCOMPARE(TextFile::readAll(QStringLiteral("\\Статистика\\06.03.2008\\Обращения.txt")),
             QStringLiteral(" 1 \r\n"));
    QCOMPARE(TextFile::readAll(QStringLiteral("\\Статистика\\06.03.2008\\Хинты.txt")),
             QStringLiteral("123\r\n"));
    QCOMPARE(TextFile::readAll(Day + QStringLiteral("\\Обращения.txt")), QStringLiteral(" 1 \r\n"));
}

void tst_Records::messageLogNewestFirst()
{
    // The folder "\Логи" does not exist yet: it is created.
    LogMessage(message(QStringLiteral("1"), QStringLiteral("первое")));
    QCOMPARE(TextFile::readAll(Records::MessageLogPath),
             QStringLiteral("05.03.2008 - 9:05:07 - 1 : первое\r\n"));
    m_clock.advanceSecs(3600);
    LogMessage(message(QStringLiteral("2"), QStringLiteral("второе\r\nстрока")));
    QCOMPARE(
        TextFile::readAll(Records::MessageLogPath),
        QStringLiteral(
            "05.03.2008 - 10:05:07 - 2 : второе\r\nстрока\r\n05.03.2008 - 9:05:07 - 1 : первое\r\n\r\n"));
}

void tst_Records::messageLogKeepsEveryByte()
{
    QByteArray old;
    for (int b = 0; b < 256; ++b)
        old.append(char(b));
    old += "\r\n";
    TextFile::writeBytes(Records::MessageLogPath, old);
    LogMessage(message(QStringLiteral("1"), QStringLiteral("ё")));
    QCOMPARE(TextFile::readBytes(Records::MessageLogPath),
             QByteArray("05.03.2008 - 9:05:07 - 1 : \xb8\r\n") + old + "\r\n");
}

void tst_Records::messageLogAfterKillAndRestart()
{
    TextFile::writeBytes(Records::MessageLogPath, "05.03.2008 - 9:00:00 - 9 : old\r\n");
    // The expected log: one whole rewrite per message, as the log has always been kept.
    QByteArray expected = TextFile::readBytes(Records::MessageLogPath);
    const auto logged = [&](const QString &uin, const QString &text) {
        LogMessage(message(uin, text));
        expected = QByteArray("05.03.2008 - ") + m_clock.now().time().toString(QStringLiteral("H:mm:ss")).toLatin1() +
                   " - " + uin.toLatin1() + " : " + Cp1251::encode(text) + "\r\n" + expected + "\r\n";
        m_clock.advanceSecs(1);
    };
    logged(QStringLiteral("1"), QStringLiteral("раз"));
    logged(QStringLiteral("2"), QStringLiteral("два\r\nстроки"));
    Storage::instance().flushAll(); // a run that ended normally
    QCOMPARE(TextFile::readBytes(Records::MessageLogPath), expected);

    logged(QStringLiteral("3"), QStringLiteral("три"));
    logged(QStringLiteral("4"), QStringLiteral("четыре"));
    Storage::discard(); // kill -9: nothing folded, the journal stays
    Records::openMessageLog(); // the restart
    QCOMPARE(TextFile::readBytes(Records::MessageLogPath), expected);
    logged(QStringLiteral("5"), QStringLiteral("пять"));
    QCOMPARE(TextFile::readBytes(Records::MessageLogPath), expected);
}

void tst_Records::statisticsFollowHandEdits()
{
    RecordStatistics(message(QStringLiteral("1")));
    RecordStatistics(message(QStringLiteral("2")));
    // The operator edits the day's files while the bot runs.
    QVERIFY(TextFile::writeAll(Day + QStringLiteral("\\Обращения.txt"), QStringLiteral(" 100 \r\n")));
    QFile hints(ProgramFolder::path(Day + QStringLiteral("\\Хинты.txt")));
    QVERIFY(hints.open(QIODevice::WriteOnly | QIODevice::Truncate));
    hints.write("2\r\n");
    hints.close();
    QVERIFY(QFile::remove(ProgramFolder::path(Records::UsersPath)));

    QVERIFY(RecordStatistics(message(QStringLiteral("1"))));
    QCOMPARE(TextFile::readAll(Day + QStringLiteral("\\Обращения.txt")), QStringLiteral(" 101 \r\n"));
    QCOMPARE(TextFile::readAll(Day + QStringLiteral("\\Хинты.txt")), QStringLiteral("2\r\n1\r\n"));
    QCOMPARE(TextFile::readAll(Records::UsersPath), QStringLiteral("1\r\n"));
    // The counter is written in batches: the exit's flush leaves it whole on disk.
    RecordStatistics(message(QStringLiteral("1")));
    Storage::instance().flushAll();
    QFile counter(ProgramFolder::path(Day + QStringLiteral("\\Обращения.txt")));
    QVERIFY(counter.open(QIODevice::ReadOnly));
    QCOMPARE(counter.readAll(), QByteArray(" 102 \r\n"));
}

void tst_Records::refusedWriteKeepsAnswering()
{
    int reports = 0;
    Storage::setReporter([&reports](Storage::Problem, const QString &, const QString &) { ++reports; });
    // A file where the statistics folder should be: the disk refuses every write there.
    QVERIFY(TextFile::writeAll(Records::StatisticsFolder, QStringLiteral("x")));
    NamedTimer timer1(QStringLiteral("Timer1"));
    QList<QString> sent;
    AnswerEngine engine(timer1, [&sent](int, const QString &text, const QString &) {
        sent.append(text);
        return true;
    });
    timer1.setInterval(1);
    TextFile::writeAll(QStringLiteral("\\Команды\\Общая.txt"),
                       QStringLiteral("Команда: привет\r\nДействие: здравствуй\r\n====\r\n"));
    for (int i = 0; i < 3; ++i) {
        MessageState state = message(QStringLiteral("123"), QStringLiteral("привет"));
        state.slot = 1;
        engine.ProcessMessage(state);
        timer1.tick();
    }
    Storage::instance().flushAll();
    QCOMPARE(sent, QList<QString>(3, QStringLiteral("здравствуй")));
    QVERIFY(reports >= 1);
    QVERIFY(reports <= 4); // once per file and kind, not once per message
}

void tst_Records::editedCommandBaseChangesNextAnswer()
{
    NamedTimer timer1(QStringLiteral("Timer1"));
    QList<QString> sent;
    AnswerEngine engine(timer1, [&sent](int, const QString &text, const QString &) {
        sent.append(text);
        return true;
    });
    timer1.setInterval(1);
    const QString common = QStringLiteral("\\Команды\\Общая.txt");
    TextFile::writeAll(common, QStringLiteral("Команда: привет\r\nДействие: первый\r\n====\r\n"));
    const auto ask = [&] {
        MessageState state = message(QStringLiteral("123"), QStringLiteral("привет"));
        state.slot = 1;
        engine.ProcessMessage(state);
        timer1.tick();
        return sent.isEmpty() ? QString() : sent.takeLast();
    };
    QCOMPARE(ask(), QStringLiteral("первый"));
    // Edited by hand while the bot runs (same length, same file).
    QFile file(ProgramFolder::path(common));
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray edited = file.readAll().replace(Cp1251::encode(u"первый"), Cp1251::encode(u"второй"));
    QVERIFY(file.seek(0));
    file.write(edited);
    file.close();
    QCOMPARE(ask(), QStringLiteral("второй"));
}

QTEST_GUILESS_MAIN(tst_Records)
#include "tst_records.moc"
