// The ban check, the day statistics and the message log.
#include "core/clock.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "engine/bancheck.h"
#include "engine/records.h"

#include <QTemporaryDir>
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

private:
    std::unique_ptr<QTemporaryDir> m_home;
    FixedClock m_clock{QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7))};
};

void tst_Records::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    ProgramFolder::setHome(m_home->path());
    m_clock.set(QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7)));
    Clock::setInstance(&m_clock);
}

void tst_Records::cleanup()
{
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

QTEST_GUILESS_MAIN(tst_Records)
#include "tst_records.moc"
