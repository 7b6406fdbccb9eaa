// A message written by hand: the recipient box, the subject, and the copies that follow
// one per tick, all from the main bot, over the local OSCAR server.
#include "core/storage.h"
#include "core/textfile.h"
#include "core/textrowsmodel.h"
#include "records/operatormessage.h"
#include "support/onlinebot.h"
#include "support/programhome.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class tst_OperatorMessage : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void recipientOf_data();
    void recipientOf();
    void copyNumbers_data();
    void copyNumbers();
    void contactItems();
    void contactItemsOfAHugeLineAreCut();
    void sendsTheMessageAndItsCopies_data();
    void sendsTheMessageAndItsCopies();
    void nothingWithoutRecipientOrText();

private:
    std::unique_ptr<ProgramHome> m_home;
};

void tst_OperatorMessage::init()
{
    Storage::discard();
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void tst_OperatorMessage::cleanup()
{
    Storage::discard();
    m_home.reset();
}

void tst_OperatorMessage::recipientOf_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("recipient");
    QTest::newRow("contact item") << "12345 - Вася Пупкин" << "12345";
    QTest::newRow("digits only") << "12345" << "12345";
    QTest::newRow("dash without blank after") << "12345 -Вася" << "12345";
}

void tst_OperatorMessage::recipientOf()
{
    QFETCH(QString, box);
    QTEST(OperatorMessage::recipientOf(box), "recipient");
}

void tst_OperatorMessage::copyNumbers_data()
{
    QTest::addColumn<QString>("copies");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QString>("closed");
    QTest::newRow("two") << "111;222" << QStringList{"111", "222"} << "111;222;";
    QTest::newRow("closed already") << "111;222;" << QStringList{"111", "222"} << "111;222;";
    QTest::newRow("blanks around") << "111; 222 ;" << QStringList{"111", "222"} << "111; 222 ;";
    QTest::newRow("leading zero") << "0333" << QStringList{"333"} << "0333;";
    QTest::newRow("empty and letters skipped") << "111;;abc;12x;222" << QStringList{"111", "222"}
                                               << "111;;abc;12x;222;";
    QTest::newRow("too long skipped") << "1234567890123456;5" << QStringList{"5"} << "1234567890123456;5;";
    QTest::newRow("none") << "" << QStringList{} << "";
}

void tst_OperatorMessage::copyNumbers()
{
    QFETCH(QString, copies);
    QTEST(OperatorMessage::copyNumbers(copies), "numbers");
    QTEST(OperatorMessage::closedCopies(copies), "closed");
}

void tst_OperatorMessage::contactItems()
{
    QVERIFY(TextFile::writeAll("\\Списки пользователей\\Контакты.txt",
                               "Вася Пупкин:^:12345:^:+7:^:a@b:^:20:^:завод:^:дом\r\n\r\n"
                               "Петя:^:777:^::^::^::^::^:\r\n"));
    QCOMPARE(OperatorMessage::contactItems(), QStringList({"12345 - Вася Пупкин", "777 - Петя"}));
}

void tst_OperatorMessage::contactItemsOfAHugeLineAreCut()
{
    // A hand-edited book with a name of megabytes: the box gets what a window can show,
    // never a copy of the whole name.
    const QString name(2 * 1024 * 1024, QChar(0x0436));
    QVERIFY(TextFile::writeAll("\\Списки пользователей\\Контакты.txt",
                               name + ":^:12345:^::^::^::^::^:\r\n" + "Петя:^:" + name + "\r\n"));
    const QStringList items = OperatorMessage::contactItems();
    QCOMPARE(items.size(), 2);
    QCOMPARE(TextRowsModel::shownText(items.at(0)), TextRowsModel::shownText("12345 - " + name));
    QCOMPARE(TextRowsModel::shownText(items.at(1)), TextRowsModel::shownText(name + " - Петя"));
    for (const QString &item : items)
        QVERIFY(item.size() <= 2 * TextRowsModel::MaxShownChars + 3);
    QCOMPARE(OperatorMessage::recipientOf(items.at(0)), "12345");
}

void tst_OperatorMessage::sendsTheMessageAndItsCopies_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("received");
    QTest::newRow("bare message") << "" << "Привет!";
    QTest::newRow("with a subject") << "Важно" << "Тема письма: Важно\r\nСообщение: Привет!";
}

void tst_OperatorMessage::sendsTheMessageAndItsCopies()
{
    QFETCH(QString, subject);
    QFETCH(QString, received);
    OnlineBot bot;
    QVERIFY2(bot.isListening(), qPrintable(bot.errorString()));
    for (const char *user : {"424242", "111", "222"})
        bot.server().addAccount(QString::fromLatin1(user), "pw");
    QVERIFY(bot.logIn());

    OperatorMessage message(bot.session());
    QSignalSpy done(&message, &OperatorMessage::copiesDone);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(message.send("424242 - Вася", "111; 0222;x", subject, "Привет!"));
    QVERIFY(message.copiesRunning());
    // What the server got from the main bot's number.
    QTRY_COMPARE_WITH_TIMEOUT(bot.sentTo("424242"), QStringList{received}, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 30000);
    // Two copies, one per tick of 100 ms.
    QVERIFY(clock.elapsed() >= 2 * OperatorMessage::CopyIntervalMs - 20);
    QTRY_COMPARE_WITH_TIMEOUT(bot.sentTo("111"), QStringList{received}, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(bot.sentTo("222"), QStringList{received}, 30000);
    QVERIFY(!message.copiesRunning());

    // A second send reads the copies afresh.
    QVERIFY(message.send("111", "222", QString(), "Ещё"));
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(bot.sentTo("222").size(), 2, 30000);
    QCOMPARE(bot.sentTo("222").last(), QStringLiteral("Ещё"));
}

void tst_OperatorMessage::nothingWithoutRecipientOrText()
{
    OnlineBot bot;
    QVERIFY(bot.logIn());
    OperatorMessage message(bot.session());
    QSignalSpy sent(&message, &OperatorMessage::sent);
    QVERIFY(!message.send("", "111", "", "Привет"));
    QVERIFY(!message.send("111", "222", "тема", ""));
    QCOMPARE(sent.size(), 0);
    QVERIFY(!message.copiesRunning());
}

QTEST_GUILESS_MAIN(tst_OperatorMessage)
#include "tst_operatormessage.moc"
