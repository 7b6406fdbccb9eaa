#include "core/cp1251.h"
#include "session/databytes.h"
#include "session/packetreader.h"
#include "tools/server/accountstore.h"
#include "tools/server/cookiejar.h"
#include "tools/server/signonreplies.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestServerParts : public QObject
{
    Q_OBJECT
private slots:
    void parsesAccountFiles_data();
    void parsesAccountFiles();
    void loadsAccountFile();
    void cookiesAreGoodOnce();
    void rateInformationIsConsistent();
    void answersMetaRequests_data();
    void answersMetaRequests();
};

void TestServerParts::parsesAccountFiles_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("uins");
    QTest::addColumn<QByteArray>("passwordOfFirst");

    QTest::newRow("two accounts") << QByteArray("111111 secret\n222222 other\n") << true
                                  << QStringList{"111111", "222222"} << QByteArray("secret");
    QTest::newRow("CR LF, tabs, comments, blank lines")
        << QByteArray("# test accounts\r\n\r\n  111111\tsecret  \r\n") << true << QStringList{"111111"}
        << QByteArray("secret");
    QTest::newRow("password with blanks inside")
        << QByteArray("111111 two words") << true << QStringList{"111111"} << QByteArray("two words");
    QTest::newRow("UTF-8 password kept in 1251")
        << QByteArray("111111 пароль") << true << QStringList{"111111"}
        << Cp1251::encode(QStringLiteral("пароль"));
    QTest::newRow("1251 bytes kept as they are")
        << QByteArray("111111 \xEF\xE0\xF0") << true << QStringList{"111111"} << QByteArray("\xEF\xE0\xF0");
    QTest::newRow("number without password")
        << QByteArray("111111 secret\n222222\n") << false << QStringList() << QByteArray();
    QTest::newRow("number with letters")
        << QByteArray("11a111 secret\n") << false << QStringList() << QByteArray();
}

void TestServerParts::parsesAccountFiles()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    QFETCH(QStringList, uins);
    QFETCH(QByteArray, passwordOfFirst);

    AccountStore store;
    QString error;
    QCOMPARE(store.parse(text, &error), ok);
    QCOMPARE(store.uins(), uins);
    if (!ok) {
        QVERIFY(error.startsWith(QLatin1String("line ")));
        return;
    }
    QVERIFY(store.passwordMatches(uins.first(), passwordOfFirst));
    QVERIFY(!store.passwordMatches(uins.first(), passwordOfFirst + 'x'));
}

void TestServerParts::loadsAccountFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("accounts.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("111111 secret\n");
    file.close();

    AccountStore store;
    QString error;
    QVERIFY(store.load(path, &error));
    QVERIFY(store.passwordMatches(QStringLiteral("111111"), "secret"));
    QVERIFY(!store.load(dir.filePath(QStringLiteral("missing.txt")), &error));
    QVERIFY(error.contains(QLatin1String("missing.txt")));
}

void TestServerParts::cookiesAreGoodOnce()
{
    CookieJar jar;
    QRandomGenerator random(1);
    const QByteArray first = jar.issue(QStringLiteral("111111"), 256, random);
    const QByteArray second = jar.issue(QStringLiteral("111111"), 256, random);
    QCOMPARE(first.size(), 256);
    QVERIFY(first != second);
    QCOMPARE(jar.redeem(second), std::optional<QString>(QStringLiteral("111111")));
    QCOMPARE(jar.redeem(second), std::nullopt);
    QCOMPARE(jar.redeem(first.left(255)), std::nullopt);
    QCOMPARE(jar.redeem(first), std::optional<QString>(QStringLiteral("111111")));
    QCOMPARE(jar.outstanding(), 0);
}

void TestServerParts::rateInformationIsConsistent()
{
    const QByteArray body = SignOnReplies::rateInformation();
    // As long as a strict real server's reply: 869 bytes with its headers.
    QVERIFY2(body.size() + 16 >= 850, QByteArray::number(body.size()).constData());

    PacketReader r(body);
    const quint16 classCount = r.u16();
    QCOMPARE(classCount, quint16(5));
    QSet<quint16> classIds;
    for (int i = 0; i < classCount; ++i) {
        classIds.insert(r.u16());
        r.skip(7 * 4 + 4 + 1); // parameters, last time, state
    }
    QSet<quint32> pairs;
    for (int i = 0; i < classCount; ++i) {
        QVERIFY(classIds.contains(r.u16()));
        const quint16 count = r.u16();
        QVERIFY(count > 0);
        for (int k = 0; k < count; ++k) {
            const quint32 pair = r.u32();
            QVERIFY2(!pairs.contains(pair), QByteArray::number(pair, 16).constData());
            pairs.insert(pair);
        }
    }
    QVERIFY(!r.failed());
    QVERIFY(r.atEnd());
    // What the bot sends is rated.
    for (quint32 pair : {0x00040006u, 0x00010002u, 0x0001001Eu, 0x00150002u})
        QVERIFY(pairs.contains(pair));
}

void TestServerParts::answersMetaRequests_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");

    // The bot's requests for number 123456789 (15 CD 5B 07 little-endian).
    QTest::newRow("offline messages: end of offline messages")
        << DataForm::HexToBytes("0001 000A 0800 15CD5B07 3C00 0200")
        << DataForm::HexToBytes("0001 000B 0900 15CD5B07 4200 0200 00");
    QTest::newRow("information request: directory answer with its sequence")
        << DataForm::HexToBytes("0001 0025 2300 15CD5B07 D007 0100 9808 1600") + "<key>DataFilesIP</key>" +
               '\0'
        << DataForm::HexToBytes("0001 0010 0E00 15CD5B07 DA07 0100 A208 0A 0100 00");
    QTest::newRow("cut request") << DataForm::HexToBytes("0001 0004 0800 15CD") << QByteArray();
    QTest::newRow("unknown request type")
        << DataForm::HexToBytes("0001 000A 0800 15CD5B07 9999 0200") << QByteArray();
}

void TestServerParts::answersMetaRequests()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);
    const std::optional<QByteArray> reply = SignOnReplies::metaReply(request);
    QCOMPARE(reply.value_or(QByteArray()).toHex(' '), answer.toHex(' '));
}

QTEST_GUILESS_MAIN(TestServerParts)
#include "tst_serverparts.moc"
