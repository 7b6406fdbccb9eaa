// The answer engine behind a real session on the local OSCAR server: users write to the
// main bot (no secondary bots) and get their answers over the wire.
#include "support/enginefixture.h"

#include "core/cp1251.h"
#include "core/datetexts.h"
#include "core/generalsettings.h"
#include "engine/bancheck.h"
#include "records/messagerecords.h"
#include "engine/sessionhooks.h"
#include "files/adminfile.h"
#include "files/chatbanlist.h"
#include "files/userblacklist.h"
#include "support/httpserver.h"
#include "support/onlinebot.h"
#include "support/programhome.h"

#include <QTest>

namespace {

constexpr int Timeout = OnlineBot::DefaultTimeoutMs;
const QString Bot = OnlineBot::DefaultUin;
const QString User = QStringLiteral("424242");
const QString Other = QStringLiteral("535353");
const QString Common = QStringLiteral("\\Команды\\Общая.txt");

} // namespace

class tst_EngineOnline : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandsAnswered();
    void longAnswerAndTwoUsers();
    void answerKinds();
    void bansStatisticsAndLog();
    void bannedSenderRefusedOnce_data();
    void bannedSenderRefusedOnce();
    void burstAnswersLeaveWhileReading();

private:
    // Stands still, so a run across midnight cannot split the day's records.
    FixedClock m_clock;
    std::unique_ptr<ProgramHome> m_dir;
    std::unique_ptr<OnlineBot> m_bot;
    std::unique_ptr<NamedTimer> m_timer1;
    std::unique_ptr<AnswerEngine> m_engine;
};

void tst_EngineOnline::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_clock.set(QDateTime::currentDateTime());
    Clock::setInstance(&m_clock);
    m_bot = std::make_unique<OnlineBot>();
    QVERIFY2(m_bot->isListening(), qPrintable(m_bot->errorString()));

    m_timer1 = std::make_unique<NamedTimer>(QStringLiteral("Timer1"));
    IcqSession *session = &m_bot->session();
    m_engine =
        std::make_unique<AnswerEngine>(*m_timer1, [session](int slot, const QString &txt, const QString &to) {
            return session->sendMessageOn(slot, txt, to);
        });
    // The wiring the main window does.
    MessageHooks hooks;
    addEngineHooks(hooks, *m_engine);
    m_bot->session().setMessageHooks(hooks);

    QVERIFY(m_bot->logIn());
}

void tst_EngineOnline::cleanup()
{
    m_engine.reset();
    m_timer1.reset();
    m_bot.reset();
    m_dir.reset();
    Clock::setInstance(nullptr);
}

void tst_EngineOnline::bannedSenderRefusedOnce_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("refusal");
    const QString later = DateTexts::dateText(QDate::currentDate().addDays(2));
    QTest::newRow("chat ban") << ChatBanList::FilePath << QStringLiteral("Ник:^:") + User + QStringLiteral(":^:x:^:флуд")
                              << BanCheck::ChatBanText;
    QTest::newRow("blacklist") << UserBlacklist::FilePath
                               << User + QStringLiteral(":^:") + later + QStringLiteral(":^:спам")
                               << QStringLiteral("Вы забанены до: ") + later + QStringLiteral("\r\nПричина бана: спам");
    // A banned administrator's power word is refused like any message.
    QTest::newRow("power word") << UserBlacklist::FilePath
                                << User + QStringLiteral(":^:") + later + QStringLiteral(":^:спам")
                                << QStringLiteral("Вы забанены до: ") + later + QStringLiteral("\r\nПричина бана: спам");
}

void tst_EngineOnline::bannedSenderRefusedOnce()
{
    QFETCH(QString, file);
    QFETCH(QString, line);
    QFETCH(QString, refusal);
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));
    TextFile::writeLines(file, {line});
    const bool powerWord = QByteArray(QTest::currentDataTag()) == "power word";
    if (powerWord)
        TextFile::writeLines(AdminFile::FilePath, {User, QString()});
    // A command the base would answer, so anything past the ban would show.
    const QString text = powerWord ? QStringLiteral("!выключить") : QStringLiteral("привет");

    QVERIFY(m_bot->server().injectText(User, Bot, text));
    QVERIFY(m_bot->server().injectText(Other, Bot, QStringLiteral("привет")));
    // The other user's answer waits for the answer timer: any second refusal, sent at
    // once, has arrived by then.
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(Other).size(), 1, Timeout);
    QCOMPARE(m_bot->sentTo(User), QStringList{refusal});
    // Neither counted nor logged.
    QVERIFY(!TextFile::readAll(Records::MessageLogPath).contains(User));
}

void tst_EngineOnline::burstAnswersLeaveWhileReading()
{
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));
    QVERIFY(GeneralSettings::MergeSettings({{QStringLiteral("AI"), QStringLiteral("1")}, {QStringLiteral("AITime"), QStringLiteral("1")}}));
    // How many answers the server had received each time the bot took a message.
    QList<qsizetype> answeredBefore;
    MessageHooks hooks;
    addEngineHooks(hooks, *m_engine);
    const auto process = hooks.processMessage;
    hooks.processMessage = [&, process](MessageState &state) {
        answeredBefore.append(m_bot->server().messagesSentBy(Bot).size());
        return process(state);
    };
    m_bot->session().setMessageHooks(hooks);

    // Written at once, in as few writes as the server can: the bot reads it in big chunks.
    m_bot->server().setSessionWriteMode(OscarServer::WriteMode::Coalesced);
    constexpr int Users = 40;
    constexpr int EachWrites = 10;
    for (int i = 0; i < EachWrites; ++i) {
        for (int u = 0; u < Users; ++u)
            QVERIFY(m_bot->server().injectText(QString::number(500000 + u), Bot, QStringLiteral("привет")));
    }
    QTRY_COMPARE_WITH_TIMEOUT(answeredBefore.size(), Users * EachWrites, Timeout);
    // The first answers are out while the last messages of the burst are still being read.
    QVERIFY2(answeredBefore.constLast() > 0, "every answer waited for the whole burst");
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->server().messagesSentBy(Bot).size(), qsizetype(Users * EachWrites), Timeout);
}

void tst_EngineOnline::commandsAnswered()
{
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));
    TextFile::writeAll(QStringLiteral("\\Команды\\Друзья.txt"), rec("свой", "для друзей"));
    TextFile::writeAll(QStringLiteral("\\Группы\\Номера.txt"), User + QStringLiteral(":Друзья\r\n"));
    TextFile::writeAll(QStringLiteral("\\Команды\\Подпись.txt"), QStringLiteral("1\r\n-- \r\nKorvane\r\n"));

    QVERIFY(m_bot->server().injectText(User, Bot, QStringLiteral("привет")));
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(User).size(), 1, Timeout);
    QVERIFY(m_bot->server().injectText(User, Bot, QStringLiteral("свой")));
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(User).size(), 2, Timeout);
    QVERIFY(m_bot->server().injectText(Other, Bot, QStringLiteral("свой")));
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(Other).size(), 1, Timeout);

    QCOMPARE(m_bot->sentTo(User), (QStringList{"Здравствуй!\r\n-- Korvane", "для друзей\r\n-- Korvane"}));
    QCOMPARE(m_bot->sentTo(Other),
             QStringList{"Извините, но такой команды нет. Обратитесь к администратору.\r\n-- Korvane"});
    QCOMPARE(TextFile::readAll(Records::UnknownLogPath), Other + QStringLiteral(": свой\r\n"));
}

void tst_EngineOnline::longAnswerAndTwoUsers()
{
    const QString longAnswer = QString(4500, QChar(0x0416)); // "Ж"
    TextFile::writeAll(Common, rec("длинный", longAnswer) + rec("короткий", "коротко"));
    QVERIFY(m_bot->server().injectText(User, Bot, QStringLiteral("длинный")));
    QVERIFY(m_bot->server().injectText(Other, Bot, QStringLiteral("короткий")));
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(User).size(), 3, Timeout);
    QCOMPARE(m_bot->sentTo(User), (QStringList{QStringLiteral("Начало сообщения:\r\n\r\n") + longAnswer.left(2000),
                                        longAnswer.left(2000),
                                        longAnswer.left(500) + QStringLiteral("\r\n\r\nКонец сообщения.")}));
    QCOMPARE(m_bot->sentTo(Other), QStringList{"коротко"});
}

void tst_EngineOnline::answerKinds()
{
    LocalHttpServer http({LocalHttpServer::ok(Cp1251::encode(QStringLiteral("скачано")))});
    QVERIFY(http.isListening());
    LocalHttpServer dead;
    QVERIFY(dead.isListening());
    const quint16 deadPort = dead.port();
    dead.close(); // nothing listens there any more: every try fails at once
    // A failed download is tried again until the wait is over; keep that wait short here.
    m_engine->setDownloadTimeout(1000);
    m_engine->setDownloadRetryInterval(100);

    TextFile::writeAll(QStringLiteral("\\ответ.txt"), QStringLiteral("из файла"));
    TextFile::writeAll(QStringLiteral("\\источник.txt"), QStringLiteral("от программы"));
    TextFile::writeAll(
        Common, rec("файл", "'Ответ из файла'\r\nответ.txt") +
                    rec("случай", "'Случайный ответ'\r\nТип: 2\r\nСообщений: 1\r\n#**\r\nединственный\r\n#") +
                    rec("сеть", "'Ответ из файла, скаченного из интернета'\r\n" + http.url()) +
                    rec("мимо", QStringLiteral("'Ответ из файла, скаченного из интернета'\r\n"
                                               "http://127.0.0.1:%1/x")
                                    .arg(deadPort)) +
                    rec("прог", "'Ответ из файла, генерирующегося программой'\r\ncp источник.txt "
                                "вывод.txt\r\n1\r\nвывод.txt"));
    const QStringList requests{"файл", "случай", "сеть", "мимо", "прог"};
    for (const QString &request : requests)
        QVERIFY(m_bot->server().injectText(User, Bot, request));
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(User).size(), 5, Timeout);
    QStringList answers = m_bot->sentTo(User);
    answers.sort();
    QStringList expected{"из файла", "единственный", "скачано",
                         "Извините, но такой команды нет. Обратитесь к администратору.", "от программы"};
    expected.sort();
    QCOMPARE(answers, expected);
}

void tst_EngineOnline::bansStatisticsAndLog()
{
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));
    const QString today = DateTexts::dateText(m_clock.today());
    const QString tomorrow = DateTexts::dateText(m_clock.today().addDays(1));
    const QString yesterday = DateTexts::dateText(m_clock.today().addDays(-1));
    TextFile::writeLines(UserBlacklist::FilePath,
                         {User + QStringLiteral(":^:") + tomorrow + QStringLiteral(":^:спам"),
                          Other + QStringLiteral(":^:") + yesterday + QStringLiteral(":^:было")});

    QVERIFY(m_bot->server().injectText(User, Bot, QStringLiteral("привет")));
    QVERIFY(m_bot->server().injectText(Other, Bot, QStringLiteral("привет")));
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(Other).size(), 1, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(User).size(), 1, Timeout);
    QCOMPARE(m_bot->sentTo(User), QStringList{QStringLiteral("Вы забанены до: ") + tomorrow +
                                       QStringLiteral("\r\nПричина бана: спам")});
    QCOMPARE(m_bot->sentTo(Other), QStringList{"Здравствуй!"});
    // The expired ban is gone, the standing one stays.
    QCOMPARE(TextFile::readLines(UserBlacklist::FilePath),
             QStringList{User + QStringLiteral(":^:") + tomorrow + QStringLiteral(":^:спам")});

    // The banned message is neither counted nor logged.
    const QString day = QStringLiteral("\\Статистика\\") + today;
    QCOMPARE(TextFile::readAll(day + QStringLiteral("\\Обращения.txt")), QStringLiteral(" 1 \r\n"));
    QCOMPARE(TextFile::readLines(day + QStringLiteral("\\Хинты.txt")), QStringList{Other});
    QCOMPARE(TextFile::readLines(Records::UsersPath), QStringList{Other});
    QVERIFY(TextFile::readAll(day + QStringLiteral("\\") + Other + QStringLiteral(".txt"))
                .endsWith(QStringLiteral(" - ") + Other + QStringLiteral(" : привет\r\n")));
    const QStringList log = TextFile::readLines(Records::MessageLogPath);
    QCOMPARE(log.size(), 1);
    QVERIFY(log.at(0).startsWith(today + QStringLiteral(" - ")));
    QVERIFY(log.at(0).endsWith(QStringLiteral(" - ") + Other + QStringLiteral(" : привет")));

    // The next message goes on top, with the empty line every rewrite leaves.
    QVERIFY(m_bot->server().injectText(Other, Bot, QStringLiteral("еще раз")));
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(Other).size(), 2, Timeout);
    QCOMPARE(TextFile::readLines(Records::MessageLogPath).size(), 3);
    QVERIFY(TextFile::readLines(Records::MessageLogPath).at(0).endsWith(QStringLiteral(" : еще раз")));
    QCOMPARE(TextFile::readAll(day + QStringLiteral("\\Обращения.txt")), QStringLiteral(" 2 \r\n"));
}

QTEST_GUILESS_MAIN(tst_EngineOnline)
#include "tst_engineonline.moc"
