// The message pipeline: command base lookup in the sender's group and in "Общая", the
// options, answer kinds, the unknown-command reply, the signature, the bot modes, the
// hooks of later stages and the deferred answers.
#include "support/enginefixture.h"

#include "core/programfolder.h"
#include "core/generalsettings.h"
#include "records/messagerecords.h"
#include "engine/sessionhooks.h"
#include "support/httpserver.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString Common = QStringLiteral("\\Команды\\Общая.txt");
const QString Groups = QStringLiteral("\\Группы\\Номера.txt");
const QString Options = QStringLiteral("\\Команды\\Настройки.txt");
const QString Signature = QStringLiteral("\\Команды\\Подпись.txt");
const QString Unknown = QStringLiteral("Извините, но такой команды нет. Обратитесь к администратору.");
const QString User = QStringLiteral("100500");
const QString Other = QStringLiteral("200600");

QString joint(const QString &group, const QString &common)
{
    return group + CrLf + CrLf + QStringLiteral("---Ответ из общей группы---") + CrLf + CrLf + common;
}

} // namespace

class tst_AnswerEngine : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void answers_data();
    void answers();

    void unknownCommandLogged();
    void optionsFileCreated();
    void userListChangedOnNewNumbers();
    void twoUsersGetTheirOwnAnswers();
    void answerTimerInterval_data();
    void answerTimerInterval();
    void bannedSenderGetsOnlyTheBanText();

    void botModes_data();
    void botModes();
    void redirect_data();
    void redirect();
    void hooksRunInStageOrder();
    void chatTakesTheMessage_data();
    void chatTakesTheMessage();
    void chatAnswerTakesPartInTheLookup();
    void quotationsSkipTheSignature();
    void powerCommands_data();
    void powerCommands();

    void programAnswer_data();
    void programAnswer();
    void downloadAnswer();
    void failedDownloadGivesTheEmptyAnswerPath_data();
    void failedDownloadGivesTheEmptyAnswerPath();
    void downloadFromNoWebAddress_data();
    void downloadFromNoWebAddress();
    void failedDownloadIsTriedAgain_data();
    void jointLookupWithDeferredAnswer_data();
    void jointLookupWithDeferredAnswer();
    void failedDownloadIsTriedAgain();
    void deferredAnswerKeepsItsOwnUser();
    void deferredAnswersPerUserAreBounded();

private:
    // The way the incoming reader hands a message on, through the engine's own hooks:
    // the ban check first (the reader sends the ban text), then the pipeline.
    void processAsReader(const QString &uin, const QString &text);

    std::unique_ptr<EngineFixture> f;
};

void tst_AnswerEngine::processAsReader(const QString &uin, const QString &text)
{
    MessageHooks hooks;
    addEngineHooks(hooks, *f->engine);
    MessageState state = f->message(uin, text);
    if (hooks.checkBans(state) != StageOutcome::Continue) {
        f->sent.append({state.slot, state.ReplyText, state.SenderUin});
        return;
    }
    hooks.processMessage(state);
}

void tst_AnswerEngine::init()
{
    f = std::make_unique<EngineFixture>();
    QVERIFY(f->valid());
}

void tst_AnswerEngine::cleanup()
{
    f.reset();
}

void tst_AnswerEngine::answers_data()
{
    QTest::addColumn<QVariantMap>("files");
    QTest::addColumn<QList<int>>("picks"); // scripted Random::bounded values
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("reply");

    const QString group = QStringLiteral("\\Команды\\Друзья.txt");
    const QString inGroup = User + QStringLiteral(":Друзья");
    const QString commonBase = rec("привет", "Здравствуй!") + rec("оба", "общий");
    const QString groupBase = rec("свой", "для друзей") + rec("оба", "групповой");
    const QVariantMap base{{Common, commonBase}, {group, groupBase}, {Groups, inGroup}};
    auto with = [&base](const QVariantMap &more) {
        QVariantMap files = base;
        for (auto it = more.cbegin(); it != more.cend(); ++it)
            files.insert(it.key(), it.value());
        return files;
    };
    const QString jointOptions = QStringLiteral("0\r\n1\r\n1\r\n");

    QTest::newRow("common command") << base << QList<int>{} << Other << "привет"
                                    << "Здравствуй!";
    QTest::newRow("common command for a group member") << base << QList<int>{} << User << "привет"
                                                       << "Здравствуй!";
    QTest::newRow("group command") << base << QList<int>{} << User << "свой"
                                   << "для друзей";
    QTest::newRow("group command not for others") << base << QList<int>{} << Other << "свой" << Unknown;
    QTest::newRow("group priority") << base << QList<int>{} << User << "оба"
                                    << "групповой";
    QTest::newRow("joint mode, both")
        << with({{Options, jointOptions}}) << QList<int>{} << User << "оба" << joint("групповой", "общий");
    QTest::newRow("joint mode, group only")
        << with({{Options, jointOptions}}) << QList<int>{} << User << "свой" << joint("для друзей", "");
    QTest::newRow("joint mode, common only")
        << with({{Options, jointOptions}}) << QList<int>{} << User << "привет"
        << "Здравствуй!";
    QTest::newRow("last group line wins")
        << with({{Groups, inGroup + QStringLiteral("\r\n") + User + QStringLiteral(":Нет")}}) << QList<int>{}
        << User << "свой" << Unknown;
    QTest::newRow("group file in other letter case")
        << QVariantMap{{Common, commonBase},
                       {QStringLiteral("\\Команды\\друзья.txt"), groupBase},
                       {Groups, inGroup}}
        << QList<int>{} << User << "свой"
        << "для друзей";
    QTest::newRow("whole names only") << QVariantMap{{Common, rec("приветствие", "длинное")}} << QList<int>{}
                                      << Other << "привет" << Unknown;
    QTest::newRow("unknown") << base << QList<int>{} << Other << "что?" << Unknown;
    QTest::newRow("operator's unknown reply")
        << with({{QStringLiteral("\\Команды\\Ответ на неизвестную команду.txt"),
                  QStringLiteral("Не знаю.\r\nСовсем.\r\n")}})
        << QList<int>{} << Other << "что?"
        << "Не знаю.\r\nСовсем.\r\n";
    QTest::newRow("case sensitive by default") << base << QList<int>{} << Other << "Привет" << Unknown;
    QTest::newRow("case option") << with({{Options, QStringLiteral("1\r\n2\r\n1\r\n")}}) << QList<int>{}
                                 << Other << "пРиВеТ"
                                 << "Здравствуй!";
    QTest::newRow("trimmed to first line") << base << QList<int>{} << Other << "привет  \r\nещё"
                                           << "Здравствуй!";
    QTest::newRow("blanks only") << base << QList<int>{} << Other << "   " << Unknown;
    QTest::newRow("trim off") << with({{Options, QStringLiteral("0\r\n2\r\n0\r\n")}}) << QList<int>{} << Other
                              << "привет " << Unknown;
    QTest::newRow("multi-line text answer")
        << QVariantMap{{Common, rec("a", "раз\r\nдва")}} << QList<int>{} << Other << "a"
        << "раз\r\nдва";

    const QVariantMap info{
        {Common, commonBase},
        {QStringLiteral("\\Информация о боте.txt"), QStringLiteral("1\r\nЯ бот.\r\nВсё.\r\n")},
        {Signature, QStringLiteral("1\r\nvbcrlf\r\nподпись\r\n")}};
    QTest::newRow("bot information, any case, no signature")
        << info << QList<int>{} << Other << "Информация О боте"
        << "Я бот.\r\nВсё.";
    QTest::newRow("bot information switched off")
        << QVariantMap{{Common, commonBase},
                       {QStringLiteral("\\Информация о боте.txt"), QStringLiteral("0\r\nЯ бот.")}}
        << QList<int>{} << Other << "ИНФОРМАЦИЯ О БОТЕ"
        << "";
    QTest::newRow("bot information needs a common file")
        << QVariantMap{{QStringLiteral("\\Информация о боте.txt"), QStringLiteral("1\r\nЯ бот.")}}
        << QList<int>{} << Other << "ИНФОРМАЦИЯ О БОТЕ" << Unknown;
    QTest::newRow("group record asking for bot information")
        << with({{group, rec("кто", "информация о боте")},
                 {QStringLiteral("\\Информация о боте.txt"), QStringLiteral("1\r\nЯ бот.")}})
        << QList<int>{} << User << "кто"
        << "Я бот.";
    QTest::newRow("common record naming bot information is text")
        << QVariantMap{{Common, rec("кто", "ИНФОРМАЦИЯ О БОТЕ")}} << QList<int>{} << Other << "кто"
        << "ИНФОРМАЦИЯ О БОТЕ";

    QTest::newRow("signature with empty line")
        << with({{Signature, QStringLiteral("1\r\nvbcrlf\r\nпервая\r\nвторая\r\n")}}) << QList<int>{1}
        << Other << "привет"
        << "Здравствуй!\r\n\r\nвторая";
    QTest::newRow("signature with separator text")
        << with({{Signature, QStringLiteral("1\r\n-- \r\nподпись\r\n")}}) << QList<int>{} << Other << "привет"
        << "Здравствуй!\r\n-- подпись";
    QTest::newRow("unknown reply signed") << with({{Signature, QStringLiteral("1\r\nvbcrlf\r\nS\r\n")}})
                                          << QList<int>{} << Other << "что?" << Unknown + "\r\n\r\nS";
    QTest::newRow("signature off") << with({{Signature, QStringLiteral("0\r\nvbcrlf\r\nS\r\n")}})
                                   << QList<int>{} << Other << "привет"
                                   << "Здравствуй!";
    QTest::newRow("no signature lines")
        << with({{Signature, QStringLiteral("1\r\nvbcrlf\r\n")}}) << QList<int>{} << Other << "привет"
        << "Здравствуй!";

    QTest::newRow("file answer") << QVariantMap{{Common, rec("f", "'Ответ из файла'\r\nответы\\один.txt")},
                                                {QStringLiteral("\\ответы\\один.txt"),
                                                 QStringLiteral("из файла\r\n")}}
                                 << QList<int>{} << Other << "f"
                                 << "из файла\r\n";
    QTest::newRow("file answer, missing file")
        << QVariantMap{{Common, rec("f", "'Ответ из файла'\r\nнет.txt")}} << QList<int>{} << Other << "f"
        << Unknown;
    QTest::newRow("random in the record")
        << QVariantMap{{Common, rec("r", "'Случайный ответ'\r\nТип: 2\r\nСообщений: "
                                         "2\r\n~~~**\r\nодин\r\n~~~\r\nдва\r\n~~~\r\nтри\r\n~~~")}}
        << QList<int>{2, 0} << Other << "r"
        << "три\r\nодин";
    QTest::newRow("random with one answer twice")
        << QVariantMap{{Common, rec("r", "'Случайный ответ'\r\nТип: 2\r\nСообщений: 2\r\n#**\r\nодин\r\n#")}}
        << QList<int>{0, 0} << Other << "r"
        << "один\r\nодин";
    QTest::newRow("random from a file")
        << QVariantMap{{Common, rec("r", "'Случайный ответ'\r\nТип: 1\r\nСообщений: 1\r\n---**\r\nпул.txt")},
                       {QStringLiteral("\\пул.txt"), QStringLiteral("а\r\nб\r\n---\r\nв\r\n---\r\n")}}
        << QList<int>{0} << Other << "r"
        << "а\r\nб";
    QTest::newRow("random from an empty pool")
        << QVariantMap{{Common, rec("r", "'Случайный ответ'\r\nТип: 1\r\nСообщений: 3\r\n---**\r\nнет.txt")}}
        << QList<int>{} << Other << "r" << Unknown;
}

void tst_AnswerEngine::answers()
{
    QFETCH(QVariantMap, files);
    QFETCH(QList<int>, picks);
    QFETCH(QString, sender);
    QFETCH(QString, input);
    QFETCH(QString, reply);
    EngineFixture::writeFiles(files);
    for (int pick : picks)
        f->random.queue(pick);
    f->process(sender, input, 7);
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{7, reply, sender}}));
}

void tst_AnswerEngine::unknownCommandLogged()
{
    TextFile::writeAll(Options, QStringLiteral("1\r\n2\r\n1\r\n"));
    f->process(User, QStringLiteral("нет такой \r\nвторая строка"));
    f->process(Other, QStringLiteral("и такой"));
    QCOMPARE(TextFile::readAll(Records::UnknownLogPath),
             User + QStringLiteral(": НЕТ ТАКОЙ\r\n") + Other + QStringLiteral(": И ТАКОЙ\r\n"));
}

void tst_AnswerEngine::optionsFileCreated()
{
    f->process(User, QStringLiteral("x"));
    QCOMPARE(TextFile::readAll(Options), QStringLiteral("0\r\n2\r\n1\r\n"));
}

void tst_AnswerEngine::userListChangedOnNewNumbers()
{
    QSignalSpy changed(f->engine.get(), &AnswerEngine::userListChanged);
    f->process(User, QStringLiteral("a"));
    f->process(User, QStringLiteral("b"));
    f->process(Other, QStringLiteral("c"));
    QCOMPARE(changed.size(), 2);
    QCOMPARE(TextFile::readLines(Records::UsersPath), (QStringList{User, Other}));
}

void tst_AnswerEngine::twoUsersGetTheirOwnAnswers()
{
    TextFile::writeAll(Common, rec("один", "первому") + rec("два", "второму"));
    f->process(User, QStringLiteral("один"), 1);
    f->process(Other, QStringLiteral("два"), 2);
    QCOMPARE(f->timer1.interval(), 500);
    QVERIFY(f->timer1.isRunning());
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{1, QStringLiteral("первому"), User},
                                                    {2, QStringLiteral("второму"), Other}}));
}

void tst_AnswerEngine::answerTimerInterval_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("interval");
    QTest::newRow("no settings") << "" << 500;
    QTest::newRow("imitation on") << "AI=1\r\nAITime=2000\r\n" << 2000;
    QTest::newRow("imitation off") << "AI=0\r\nAITime=2000\r\n" << 500;
    QTest::newRow("delay line first") << "AITime=2000\r\nAI=1\r\n" << 2000;
    QTest::newRow("delay not a number") << "AI=1\r\nAITime=скоро\r\n" << 500;
}

void tst_AnswerEngine::answerTimerInterval()
{
    QFETCH(QString, settings);
    QFETCH(int, interval);
    if (!settings.isEmpty())
        TextFile::writeAll(GeneralSettings::FilePath, settings);
    f->process(User, QStringLiteral("x"));
    QCOMPARE(f->timer1.interval(), interval);
    QVERIFY(f->timer1.isRunning());

    // A late answer (a feed that arrived) waits the same delay.
    f->drainAnswers();
    QVERIFY(!f->timer1.isEnabled());
    f->engine->queueAnswer(2, Other, QStringLiteral("позже"));
    QCOMPARE(f->timer1.interval(), interval);
    QVERIFY(f->timer1.isRunning());
}

void tst_AnswerEngine::bannedSenderGetsOnlyTheBanText()
{
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));
    TextFile::writeLines(QStringLiteral("\\Списки пользователей\\Черный список.txt"),
                         {User + QStringLiteral(":^:06.03.2008:^:спам")});
    processAsReader(User, QStringLiteral("привет"));
    QCOMPARE(f->sent, (QList<SentMessage>{
                          {1, QStringLiteral("Вы забанены до: 06.03.2008\r\nПричина бана: спам"), User}}));
    QCOMPARE(f->engine->answerSender().pendingCount(), 0);
    QVERIFY(!TextFile::folderExists(QStringLiteral("\\Статистика")));

    // The next day the ban is lifted at his message and he is answered.
    f->clock.advanceDays(1);
    f->sent.clear();
    processAsReader(User, QStringLiteral("привет"));
    QVERIFY(!TextFile::exists(QStringLiteral("\\Списки пользователей\\Черный список.txt")));
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{1, QStringLiteral("Здравствуй!"), User}}));
}

void tst_AnswerEngine::botModes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("autoResponder");
    QTest::addColumn<QString>("reply");
    QTest::newRow("mirror") << "3"
                            << ""
                            << "привет как дела";
    QTest::newRow("auto-responder") << " 2 "
                                    << "2\r\n\r\nМеня нет.\r\nСкоро буду."
                                    << "Меня нет.\r\nСкоро буду.";
    QTest::newRow("auto-responder without file") << "2"
                                                 << ""
                                                 << "";
}

void tst_AnswerEngine::botModes()
{
    QFETCH(QString, mode);
    QFETCH(QString, autoResponder);
    QFETCH(QString, reply);
    TextFile::writeAll(Common, rec("привет как дела", "ответ"));
    if (!autoResponder.isEmpty())
        TextFile::writeAll(QStringLiteral("\\Настройки\\Автоответчик.txt"), autoResponder);
    f->engine->setBotMode(mode);
    f->process(User, QStringLiteral("привет как дела"));
    QCOMPARE(f->sent, (QList<SentMessage>{{1, reply, User}}));
    QCOMPARE(f->engine->answerSender().pendingCount(), 0);
    QVERIFY(!TextFile::folderExists(QStringLiteral("\\Статистика")));
}

void tst_AnswerEngine::redirect_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("forwarded");
    QTest::addColumn<bool>("answered");
    QTest::newRow("process and forward") << "777\r\n 1 \r\n" << true << true;
    QTest::newRow("forward only") << "777\r\n 2 \r\n" << true << false;
    QTest::newRow("empty target") << "\r\n 2 \r\n" << false << true;
    QTest::newRow("other mode") << "777\r\n3\r\n" << false << true;
}

void tst_AnswerEngine::redirect()
{
    QFETCH(QString, file);
    QFETCH(bool, forwarded);
    QFETCH(bool, answered);
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));
    TextFile::writeAll(QStringLiteral("\\Подпрограммы\\Редикет.txt"), file);
    f->process(User, QStringLiteral("привет"), 2);
    QList<SentMessage> expected;
    if (forwarded)
        expected.append(
            {2, QStringLiteral("Вам написал : 100500\r\nСообщение : привет"), QStringLiteral("777")});
    if (answered)
        expected.append({2, QStringLiteral("Здравствуй!"), User});
    f->drainAnswers();
    QCOMPARE(f->sent, expected);
}

void tst_AnswerEngine::hooksRunInStageOrder()
{
    QStringList order;
    auto stage = [&order](const char *name) {
        return [&order, name](MessageState &) {
            order.append(QString::fromLatin1(name));
            return StageOutcome::Continue;
        };
    };
    EngineHooks hooks;
    hooks.addAnswerVariant = stage("add");
    hooks.checkAntiSpam = stage("antispam");
    hooks.handleVote = stage("vote");
    hooks.handleWeatherRequest = stage("weather");
    hooks.handleQuotationRequest = stage("quotation");
    hooks.handleCurrencyRequest = stage("currency");
    hooks.handleAdminContact = stage("admin");
    hooks.handleNotepad = stage("notepad");
    hooks.handleChatMessage = stage("chat");
    hooks.playEventSound = stage("sound");
    hooks.showMessagePopup = [&order](MessageState &state) {
        // The popup sees the message after the options have trimmed it.
        order.append(QStringLiteral("popup:") + state.MessageText);
        return StageOutcome::Continue;
    };
    f->engine->setHooks(hooks);
    f->process(User, QStringLiteral("x  \r\ny"));
    QCOMPARE(order, (QStringList{"add", "antispam", "vote", "weather", "quotation", "currency", "admin",
                                 "notepad", "chat", "sound", "popup:x"}));

    // A stage that stops the message stops everything after it.
    order.clear();
    hooks.handleVote = [&order](MessageState &) {
        order.append(QStringLiteral("vote"));
        return StageOutcome::Stop;
    };
    f->engine->setHooks(hooks);
    f->drainAnswers();
    f->process(User, QStringLiteral("x"));
    QCOMPARE(order, (QStringList{"add", "antispam", "vote"}));
    QCOMPARE(f->engine->answerSender().pendingCount(), 0);
}

void tst_AnswerEngine::chatTakesTheMessage_data()
{
    QTest::addColumn<bool>("byOutcome");
    QTest::addColumn<bool>("byFlag");
    QTest::addColumn<bool>("taken");
    QTest::newRow("stop") << true << false << true;
    // The outcome is the one report; the flag alone takes nothing and is lowered.
    QTest::newRow("handled flag alone") << false << true << false;
    QTest::newRow("both") << true << true << true;
}

void tst_AnswerEngine::chatTakesTheMessage()
{
    QFETCH(bool, byOutcome);
    QFETCH(bool, byFlag);
    QFETCH(bool, taken);
    EngineHooks hooks;
    bool sound = false;
    hooks.handleChatMessage = [byOutcome, byFlag](MessageState &state) {
        state.MessageHandled = byFlag;
        return byOutcome ? StageOutcome::Stop : StageOutcome::Continue;
    };
    hooks.playEventSound = [&sound](MessageState &) {
        sound = true;
        return StageOutcome::Continue;
    };
    f->engine->setHooks(hooks);
    MessageState state = f->message(User, QStringLiteral("привет, чат"));
    f->engine->ProcessMessage(state);
    QVERIFY(!state.MessageHandled); // lowered again by the pipeline
    QCOMPARE(sound, !taken);
    QCOMPARE(TextFile::folderExists(QStringLiteral("\\Статистика")), !taken);
    if (taken)
        QCOMPARE(f->engine->answerSender().pendingCount(), 0);
}

void tst_AnswerEngine::chatAnswerTakesPartInTheLookup()
{
    TextFile::writeAll(Common, rec("история", "из базы"));
    EngineHooks hooks;
    hooks.handleChatMessage = [](MessageState &state) {
        state.ReplyText = QStringLiteral("История чата:");
        return StageOutcome::Continue;
    };
    f->engine->setHooks(hooks);
    f->process(User, QStringLiteral("история"));
    // Group priority: a reply already there keeps the common group out.
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{1, QStringLiteral("История чата:"), User}}));
}

void tst_AnswerEngine::quotationsSkipTheSignature()
{
    TextFile::writeAll(Signature, QStringLiteral("1\r\nvbcrlf\r\nS\r\n"));
    EngineHooks hooks;
    hooks.handleQuotationRequest = [](MessageState &state) {
        state.ReplyText = QStringLiteral("цитата");
        return StageOutcome::SendNow;
    };
    f->engine->setHooks(hooks);
    f->process(User, QStringLiteral("!bash"));
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{1, QStringLiteral("цитата"), User}}));
    QVERIFY(!TextFile::exists(Records::UnknownLogPath));
}

void tst_AnswerEngine::powerCommands_data()
{
    QTest::addColumn<QString>("admin");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("kind"); // 0: an ordinary message
    QTest::newRow("no password") << "100500\r\n\r\n" << User << "!выключить" << 1;
    QTest::newRow("reboot with password") << "100500\r\nсекрет\r\n" << User << "!перезагрузить:секрет" << 2;
    QTest::newRow("word alone with a password set") << "100500\r\nсекрет\r\n" << User << "!выключить" << 0;
    QTest::newRow("wrong password") << "100500\r\nсекрет\r\n" << User << "!выключить:другой" << 0;
    QTest::newRow("capitalised") << "100500\r\n\r\n" << User << "!Выключить" << 0;
    QTest::newRow("other number") << "100500\r\n\r\n" << Other << "!выключить" << 0;
    QTest::newRow("no administrator file") << "" << User << "!выключить" << 0;
}

void tst_AnswerEngine::powerCommands()
{
    QFETCH(QString, admin);
    QFETCH(QString, sender);
    QFETCH(QString, input);
    QFETCH(int, kind);
    if (!admin.isEmpty())
        TextFile::writeAll(QStringLiteral("\\Настройки\\Админ.txt"), admin);
    QList<int> calls;
    EngineHooks hooks;
    hooks.shutdownSystem = [&calls](int k) { calls.append(k); };
    f->engine->setHooks(hooks);
    f->process(sender, input);
    QCOMPARE(calls, kind ? QList<int>{kind} : QList<int>{});
    QCOMPARE(f->drainAnswers().size(), kind ? 0 : 1);
}

void tst_AnswerEngine::programAnswer_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("output"); // what the program copies into the output file
    QTest::addColumn<QString>("reply");
    QTest::newRow("group record") << "\\Команды\\Друзья.txt"
                                  << "вывод программы"
                                  << "вывод программы";
    QTest::newRow("common record") << "\\Команды\\Общая.txt"
                                   << "вывод программы"
                                   << "вывод программы";
    QTest::newRow("common record, no output") << "\\Команды\\Общая.txt"
                                              << "" << AnswerEngine::EmptyProgramOutput;
    QTest::newRow("group record, no output") << "\\Команды\\Друзья.txt"
                                             << "" << Unknown;
}

void tst_AnswerEngine::programAnswer()
{
    QFETCH(QString, file);
    QFETCH(QString, output);
    QFETCH(QString, reply);
    TextFile::writeAll(Groups, User + QStringLiteral(":Друзья"));
    // Arguments with a blank inside quotes reach the program whole; no shell runs.
    TextFile::writeAll(file,
                       rec("прог", "'Ответ из файла, генерирующегося программой'\r\ncp \"исходный файл.txt\" "
                                   "вывод.txt\r\n1\r\nвывод.txt"));
    if (!output.isEmpty())
        TextFile::writeAll(QStringLiteral("\\исходный файл.txt"), output);
    QSignalSpy queued(f->engine.get(), &AnswerEngine::answerQueued);
    f->process(User, QStringLiteral("прог"), 3);
    QCOMPARE(f->engine->pendingDeferred(), 1);
    QCOMPARE(f->engine->answerSender().pendingCount(), 0);
    QVERIFY(queued.wait(30000));
    QCOMPARE(f->engine->pendingDeferred(), 0);
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{3, reply, User}}));
}

void tst_AnswerEngine::downloadAnswer()
{
    LocalHttpServer server({LocalHttpServer::ok(
        QByteArray("\xce\xf2\xe2\xe5\xf2 \xe8\xe7 \xf1\xe5\xf2\xe8"))}); // "Ответ из сети"
    QVERIFY(server.isListening());
    TextFile::writeAll(Common,
                       rec("скачать", "'Ответ из файла, скаченного из интернета'\r\n" + server.url()));
    TextFile::writeAll(Signature, QStringLiteral("1\r\nvbcrlf\r\nS\r\n"));
    QSignalSpy queued(f->engine.get(), &AnswerEngine::answerQueued);
    f->process(User, QStringLiteral("скачать"), 4);
    QVERIFY(queued.wait(30000));
    QCOMPARE(server.requests.size(), 1);
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{4, QStringLiteral("Ответ из сети\r\n\r\nS"), User}}));
    QCOMPARE(TextFile::readAll(AnswerEngine::DownloadedAnswerPath), QStringLiteral("Ответ из сети"));
}

void tst_AnswerEngine::failedDownloadGivesTheEmptyAnswerPath_data()
{
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<bool>("silent"); // the server never answers: the time-out ends it
    QTest::newRow("not found")
        << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n") << false;
    QTest::newRow("empty file") << LocalHttpServer::ok(QByteArray()) << false;
    QTest::newRow("time-out") << QByteArray() << true;
}

void tst_AnswerEngine::failedDownloadGivesTheEmptyAnswerPath()
{
    QFETCH(QByteArray, response);
    QFETCH(bool, silent);
    LocalHttpServer server({response});
    server.setResponse(QStringLiteral("/mute"), {200, "never", LocalHttpServer::Held, "text/plain"});
    const QString url = server.url(silent ? QStringLiteral("/mute") : QStringLiteral("/answer.txt"));
    // An older download must not be served again.
    TextFile::writeAll(AnswerEngine::DownloadedAnswerPath, QStringLiteral("старый ответ"));
    TextFile::writeAll(Common, rec("скачать", "'Ответ из файла, скаченного из интернета'\r\n" + url));
    f->engine->setDownloadTimeout(600);
    f->engine->setDownloadRetryInterval(100);
    QSignalSpy queued(f->engine.get(), &AnswerEngine::answerQueued);
    f->process(User, QStringLiteral("скачать"));
    QVERIFY(queued.wait(30000));
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{1, Unknown, User}}));
    QCOMPARE(TextFile::readAll(Records::UnknownLogPath), User + QStringLiteral(": скачать\r\n"));
    if (!silent)
        QVERIFY2(server.requests.size() >= 2, "a failed download is tried again until the wait is over");
}

void tst_AnswerEngine::downloadFromNoWebAddress_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("local file") << QStringLiteral("local file"); // made in the program folder below
    QTest::newRow("ftp") << QStringLiteral("ftp://127.0.0.1/x");
    QTest::newRow("no address") << QString();
}

void tst_AnswerEngine::downloadFromNoWebAddress()
{
    QFETCH(QString, url);
    TextFile::writeAll(QStringLiteral("\\секрет.txt"), QStringLiteral("секрет"));
    if (url == QLatin1String("local file"))
        url = QUrl::fromLocalFile(ProgramFolder::path(QStringLiteral("\\секрет.txt"))).toString();
    TextFile::writeAll(AnswerEngine::DownloadedAnswerPath, QStringLiteral("старый ответ"));
    TextFile::writeAll(Common, rec("скачать", "'Ответ из файла, скаченного из интернета'\r\n" + url));
    // Never fetched, and not tried again for the whole wait: the empty answer comes at once.
    QSignalSpy queued(f->engine.get(), &AnswerEngine::answerQueued);
    f->process(User, QStringLiteral("скачать"));
    QVERIFY(queued.wait(AnswerEngine::DownloadTimeoutMs / 2));
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{1, Unknown, User}}));
    QCOMPARE(TextFile::readAll(AnswerEngine::DownloadedAnswerPath), QStringLiteral("старый ответ"));
    QCOMPARE(f->engine->pendingDeferred(), 0);
}

void tst_AnswerEngine::failedDownloadIsTriedAgain_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::newRow("server error first")
        << QByteArray("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    QTest::newRow("empty file first") << LocalHttpServer::ok(QByteArray());
}

void tst_AnswerEngine::failedDownloadIsTriedAgain()
{
    QFETCH(QByteArray, first);
    LocalHttpServer server({first, first, LocalHttpServer::ok("ready")});
    QVERIFY(server.isListening());
    TextFile::writeAll(Common, rec("скачать", "'Ответ из файла, скаченного из интернета'\r\n" + server.url()));
    f->engine->setDownloadRetryInterval(50);
    QSignalSpy queued(f->engine.get(), &AnswerEngine::answerQueued);
    f->process(User, QStringLiteral("скачать"), 2);
    QVERIFY(queued.wait(30000));
    QCOMPARE(server.requests.size(), 3);
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{2, QStringLiteral("ready"), User}}));
}

void tst_AnswerEngine::deferredAnswerKeepsItsOwnUser()
{
    LocalHttpServer held; // answers only when the test says so
    held.setResponse(QStringLiteral("/x"), {200, "late", LocalHttpServer::Held, "text/plain"});
    TextFile::writeAll(Common,
                       rec("скачать", "'Ответ из файла, скаченного из интернета'\r\n" + held.url(QStringLiteral("/x"))) +
                           rec("текст", "сразу"));
    QSignalSpy queued(f->engine.get(), &AnswerEngine::answerQueued);
    f->process(User, QStringLiteral("скачать"), 1);
    QTRY_COMPARE_WITH_TIMEOUT(held.requests.size(), 1, 30000);
    f->process(Other, QStringLiteral("текст"), 2);
    QCOMPARE(queued.size(), 1);
    held.release();
    QTRY_COMPARE_WITH_TIMEOUT(queued.size(), 2, 30000);
    QCOMPARE(f->drainAnswers(),
             (QList<SentMessage>{{2, QStringLiteral("сразу"), Other}, {1, QStringLiteral("late"), User}}));
}

void tst_AnswerEngine::deferredAnswersPerUserAreBounded()
{
    LocalHttpServer held; // accepts and never answers
    held.setResponse(QStringLiteral("/x"), {200, "never", LocalHttpServer::Held, "text/plain"});
    const auto connections = [&held] { return held.connections(); };
    TextFile::writeAll(Common,
                       rec("скачать", "'Ответ из файла, скаченного из интернета'\r\n" + held.url(QStringLiteral("/x"))));
    QSignalSpy queued(f->engine.get(), &AnswerEngine::answerQueued);
    for (int k = 0; k < AnswerEngine::MaxDeferredPerUser; ++k)
        f->process(User, QStringLiteral("скачать"));
    QTRY_COMPARE_WITH_TIMEOUT(connections(), AnswerEngine::MaxDeferredPerUser, 30000);
    // One more from the same user while his downloads run: the empty answer at once.
    f->process(User, QStringLiteral("скачать"));
    QTRY_COMPARE_WITH_TIMEOUT(queued.size(), 1, 30000);
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{1, Unknown, User}}));
    QCOMPARE(f->engine->pendingDeferred(), AnswerEngine::MaxDeferredPerUser);
    // Another user is not held back by him.
    f->process(Other, QStringLiteral("скачать"));
    QTRY_COMPARE_WITH_TIMEOUT(connections(), AnswerEngine::MaxDeferredPerUser + 1, 30000);
    QCOMPARE(f->engine->pendingDeferred(), AnswerEngine::MaxDeferredPerUser + 1);
}

void tst_AnswerEngine::jointLookupWithDeferredAnswer_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<bool>("groupDeferred"); // which side downloads: the group's or the common record
    QTest::addColumn<QString>("reply");
    const QString jointOn = QStringLiteral("0\r\n1\r\n1\r\n");
    const QString jointOff = QStringLiteral("0\r\n2\r\n1\r\n");
    QTest::newRow("joint, common deferred") << jointOn << false << joint("групповой", "net");
    QTest::newRow("joint, group deferred") << jointOn << true << joint("net", "общий");
    QTest::newRow("group first, group deferred") << jointOff << true << "net";
}

void tst_AnswerEngine::jointLookupWithDeferredAnswer()
{
    QFETCH(QString, options);
    QFETCH(bool, groupDeferred);
    QFETCH(QString, reply);
    LocalHttpServer server({LocalHttpServer::ok("net")});
    QVERIFY(server.isListening());
    const QString download = QStringLiteral("'Ответ из файла, скаченного из интернета'\r\n") + server.url();
    TextFile::writeAll(Options, options);
    TextFile::writeAll(Groups, User + QStringLiteral(":Друзья"));
    TextFile::writeAll(QStringLiteral("\\Команды\\Друзья.txt"), rec("оба", groupDeferred ? download : QStringLiteral("групповой")));
    TextFile::writeAll(Common, rec("оба", groupDeferred ? QStringLiteral("общий") : download));
    QSignalSpy queued(f->engine.get(), &AnswerEngine::answerQueued);
    f->process(User, QStringLiteral("оба"), 5);
    QVERIFY(queued.wait(30000));
    QCOMPARE(server.requests.size(), 1);
    QCOMPARE(f->drainAnswers(), (QList<SentMessage>{{5, reply, User}}));
}

QTEST_GUILESS_MAIN(tst_AnswerEngine)
#include "tst_answerengine.moc"
