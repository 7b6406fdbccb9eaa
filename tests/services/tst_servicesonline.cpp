// The built-in services behind a real session on the local OSCAR server: users write to
// the main bot and get the services' answers over the wire.
#include "support/enginefixture.h"

#include "core/cp1251.h"
#include "core/generalsettings.h"
#include "core/programfolder.h"
#include "engine/additionalanswers.h"
#include "engine/admincontact.h"
#include "engine/antispam.h"
#include "engine/bancheck.h"
#include "engine/sessionhooks.h"
#include "engine/message_popup_window.h"
#include "engine/notepad.h"
#include "records/messagerecords.h"
#include "engine/services.h"
#include "engine/vote.h"
#include "platform/recordingdialogs.h"
#include "platform/recordingpower.h"
#include "platform/recordingsound.h"
#include "support/onlinebot.h"
#include "support/programhome.h"

#include <QLabel>
#include <QTest>

namespace {

constexpr int Timeout = OnlineBot::DefaultTimeoutMs;
const QString Bot = OnlineBot::DefaultUin;
const QString User = QStringLiteral("424242");
const QString Other = QStringLiteral("535353");
const QString Admin = QStringLiteral("777");
const QString Common = QStringLiteral("\\Команды\\Общая.txt");
const QString Unknown = QStringLiteral("Извините, но такой команды нет. Обратитесь к администратору.");

} // namespace

class tst_ServicesOnline : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void addedAnswerIsPicked();
    void notepadWrittenAndRead();
    void adminContactBothWays();
    void voteCastOnceAndCounted();
    void antiSpamBeforeAnswers();
    void switchesOff();
    void popupShowsAndHides();
    void soundsPlayed();
    void powerOffFromAdminOnly();

private:
    FixedClock m_clock;
    RecordingSound m_sound;
    RecordingPower m_power;
    RecordingDialogs m_dialogs;
    std::unique_ptr<ProgramHome> m_dir;
    std::unique_ptr<OnlineBot> m_bot;
    std::unique_ptr<TimerRegistry> m_timers;
    std::unique_ptr<Form20> m_popup;
    std::unique_ptr<AnswerEngine> m_engine;
};

void tst_ServicesOnline::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_clock.set(QDateTime::currentDateTime());
    Clock::setInstance(&m_clock);
    Dialogs::setInstance(&m_dialogs);
    m_sound.played.clear();
    m_power.requests.clear();
    m_dialogs.shown.clear();
    m_bot = std::make_unique<OnlineBot>();
    QVERIFY2(m_bot->isListening(), qPrintable(m_bot->errorString()));

    m_timers = std::make_unique<TimerRegistry>();
    NamedTimer *timer1 = m_timers->add(QStringLiteral("Timer1"), 0);
    m_popup = std::make_unique<Form20>();
    IcqSession *session = &m_bot->session();
    const SendFunction send = [session](int slot, const QString &txt, const QString &to) {
        return session->sendMessageOn(slot, txt, to);
    };
    m_engine = std::make_unique<AnswerEngine>(*timer1, send);

    // The wiring the main window does.
    EngineHooks engineHooks;
    ServiceContext context{send, &m_sound, &m_power, m_timers.get(), m_popup.get()};
    installServiceHooks(engineHooks, context);
    m_engine->setHooks(engineHooks);
    MessageHooks hooks;
    addEngineHooks(hooks, *m_engine);
    m_bot->session().setMessageHooks(hooks);

    QVERIFY(m_bot->logIn());
}

void tst_ServicesOnline::cleanup()
{
    m_engine.reset();
    m_popup.reset();
    m_timers.reset();
    m_bot.reset();
    m_dir.reset();
    Clock::setInstance(nullptr);
    Dialogs::setInstance(nullptr);
}

void tst_ServicesOnline::addedAnswerIsPicked()
{
    TextFile::writeAll(QStringLiteral("\\Группы\\Номера.txt"), User + QStringLiteral(":Друзья\r\n"));
    const QString group = QStringLiteral("\\Команды\\Друзья.txt");
    // A longer name first: only the whole name line counts.
    TextFile::writeAll(group,
                       rec("шуткадня", "'Случайный ответ'\r\nТип: 2\r\nСообщений: 1\r\n#**\r\nдлинная\r\n#") +
                           rec("шутка", "'Случайный ответ'\r\nТип: 2\r\nСообщений: 1\r\n#**\r\nстарая\r\n#"));
    TextFile::writeAll(AdditionalAnswers::ListPath, QStringLiteral("Друзья шутка\r\n"));

    QVERIFY(m_bot->server().injectText(User, Bot, QStringLiteral("!add шутка новая шутка")));
    QTRY_VERIFY_WITH_TIMEOUT(TextFile::readAll(group).contains(QStringLiteral("новая шутка")), Timeout);
    QCOMPARE(
        TextFile::readAll(group),
        rec("шуткадня", "'Случайный ответ'\r\nТип: 2\r\nСообщений: 1\r\n#**\r\nдлинная\r\n#") +
            rec("шутка",
                "'Случайный ответ'\r\nТип: 2\r\nСообщений: 1\r\n#**\r\nстарая\r\n#\r\nновая шутка\r\n#"));

    // The second answer of two: the scripted pick index 1.
    ScriptedRandom random;
    random.queue(1);
    Random::setInstance(&random);
    QCOMPARE(m_bot->ask(User, QStringLiteral("шутка")), QStringLiteral("новая шутка"));
    Random::setInstance(nullptr);
    // "!add" itself was never answered.
    QCOMPARE(m_bot->sentTo(User).size(), 1);
}

void tst_ServicesOnline::notepadWrittenAndRead()
{
    TextFile::writeAll(Notepad::SwitchPath, QStringLiteral(" 1 \r\n"));
    QCOMPARE(m_bot->ask(User, QStringLiteral("!блокнот")), Notepad::NoNoteText);
    QCOMPARE(m_bot->ask(User, QStringLiteral("!БЛОКНОТ_ЗАПИСЬ\r\nкупить хлеба\r\nи молока")), Notepad::CreatedText);
    QCOMPARE(m_bot->ask(User, QStringLiteral("!БЛОКНОТ")), QStringLiteral("купить хлеба\r\nи молока\r\n"));
    QCOMPARE(m_bot->ask(User, QStringLiteral("!блокнот_запись\r\nвторая")), Notepad::ChangedText);
    QCOMPARE(m_bot->ask(User, QStringLiteral("!Блокнот")), QStringLiteral("вторая\r\n"));
    QCOMPARE(m_bot->ask(Other, QStringLiteral("!БЛОКНОТ_ЗАПИСЬ\r\nсвоя")), Notepad::CreatedText);
    QCOMPARE(TextFile::readAll(Notepad::ListPath), User + CrLf + Other + CrLf);
    QCOMPARE(TextFile::readAll(QStringLiteral("\\Блокноты\\") + Other + QStringLiteral(".txt")),
             QStringLiteral("своя\r\n"));
}

void tst_ServicesOnline::adminContactBothWays()
{
    TextFile::writeAll(AdminContact::SettingsPath, QStringLiteral(" 1 \r\n") + Admin + CrLf);
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));

    QVERIFY(m_bot->server().injectText(User, Bot, QStringLiteral("!админ помогите\r\nпожалуйста")));
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(Admin).size(), 1, Timeout);
    QCOMPARE(m_bot->sentTo(Admin).constFirst(),
             AdminContact::forwardedText(User, QStringLiteral("помогите\r\nпожалуйста")));
    QCOMPARE(m_bot->sentTo(Admin).constFirst(),
             QStringLiteral("Использована функция 'Связь с админом'\r\nПользователь: 424242\r\nПрислал "
                            "вам:помогите\r\nпожалуйста"));

    QVERIFY(m_bot->server().injectText(
        Admin, Bot, QStringLiteral("!пользователь\r\n") + User + QStringLiteral("\r\nответ\r\nадмина")));
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(User).size(), 1, Timeout);
    QCOMPARE(m_bot->sentTo(User).constFirst(), QStringLiteral("ответ\r\nадмина"));

    // Anyone else's relay is an ordinary message, answered by the command base.
    QCOMPARE(m_bot->ask(Other, QStringLiteral("!ПОЛЬЗОВАТЕЛЬ\r\n") + User + QStringLiteral("\r\nподделка")),
             Unknown);
    QCOMPARE(m_bot->sentTo(User).size(), 1);
    // The administrator's own messages still go on as usual afterwards.
    QCOMPARE(m_bot->ask(Admin, QStringLiteral("привет")), QStringLiteral("Здравствуй!"));
    QCOMPARE(m_bot->sentTo(Admin).size(), 2);
}

void tst_ServicesOnline::voteCastOnceAndCounted()
{
    TextFile::writeAll(Vote::DefinitionPath, QStringLiteral("Какой цвет?:^:Красный:^:Синий\r\n"));
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));
    const QString voteText =
        QStringLiteral("Какой цвет?\r\n\r\nВарианты:\r\nКрасный\r\nСиний\r\n\r\n") + Vote::CancelHint;

    QCOMPARE(m_bot->ask(User, QStringLiteral("голосование")), voteText);
    QCOMPARE(m_bot->ask(User, QStringLiteral("привет")), Vote::NoSuchOptionText);
    QCOMPARE(m_bot->ask(User, QStringLiteral("синий")), Vote::ThanksText);
    // Once voted, the number is never asked again.
    QCOMPARE(m_bot->ask(User, QStringLiteral("ГОЛОСОВАНИЕ")), Unknown);
    QCOMPARE(m_bot->ask(User, QStringLiteral("привет")), QStringLiteral("Здравствуй!"));
    QCOMPARE(TextFile::readAll(Vote::ResultsPath), QStringLiteral("СИНИЙ\r\n"));
    QCOMPARE(TextFile::readAll(Vote::VotersPath), User + CrLf);

    // A number that is part of a voter's number still votes.
    const QString part = User.left(3);
    QCOMPARE(m_bot->ask(part, QStringLiteral("ГОЛОСОВАНИЕ")), voteText);
    QCOMPARE(m_bot->ask(part, QStringLiteral("!отмена голосования")), Vote::CancelledText);
    QCOMPARE(m_bot->ask(part, QStringLiteral("ГОЛОСОВАНИЕ")), voteText);
    QCOMPARE(m_bot->ask(part, QStringLiteral("Красный")), Vote::ThanksText);
    QCOMPARE(TextFile::readAll(Vote::ResultsPath), QStringLiteral("СИНИЙ\r\nКРАСНЫЙ\r\n"));
}

void tst_ServicesOnline::antiSpamBeforeAnswers()
{
    // As the anti-spam window writes it with its first texts.
    TextFile::writeAll(
        AntiSpam::SettingsPath,
        QStringLiteral(" 1 \r\n---\r\nДвижок какой компании использует этот бот?\r\n\r\n---\r\n"
                       "Plumwerk\r\n\r\n---\r\nВы прошли защиту на спам.\r\nТеперь Вы можете "
                       "воспользоваться услугами бота.\r\n\r\n"));
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));
    const QString question = QStringLiteral("Движок какой компании использует этот бот?\r\n");

    QCOMPARE(m_bot->ask(User, QStringLiteral("Plumwerk")), question + CrLf + CrLf + AntiSpam::NotHandledText);
    QCOMPARE(m_bot->ask(User, QStringLiteral("plumwerk")), AntiSpam::WrongAnswerText + question);
    QCOMPARE(m_bot->ask(User, QStringLiteral("Plumwerk")),
             QStringLiteral(
                 "Вы прошли защиту на спам.\r\nТеперь Вы можете воспользоваться услугами бота.\r\n\r\n"));
    QCOMPARE(m_bot->ask(User, QStringLiteral("привет")), QStringLiteral("Здравствуй!"));
    QCOMPARE(m_bot->ask(Other, QStringLiteral("привет")), question + CrLf + CrLf + AntiSpam::NotHandledText);
    QCOMPARE(TextFile::readAll(AntiSpam::AskedPath), User + CrLf + Other + CrLf);
    QCOMPARE(TextFile::readAll(AntiSpam::PassedPath), User + CrLf);
}

void tst_ServicesOnline::switchesOff()
{
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));
    TextFile::writeAll(AdminContact::SettingsPath, QStringLiteral(" 0 \r\n") + Admin + CrLf);
    TextFile::writeAll(AntiSpam::SettingsPath,
                       QStringLiteral(" 0 \r\n---\r\nВопрос\r\n---\r\nответ\r\n---\r\nда\r\n"));
    // No notepad switch file, no vote definition.

    QCOMPARE(m_bot->ask(User, QStringLiteral("привет")), QStringLiteral("Здравствуй!"));
    QCOMPARE(m_bot->ask(User, QStringLiteral("!БЛОКНОТ")), Unknown);
    QCOMPARE(m_bot->ask(User, QStringLiteral("!БЛОКНОТ_ЗАПИСЬ\r\nтекст")), Unknown);
    QCOMPARE(m_bot->ask(User, QStringLiteral("!АДМИН привет")), Unknown);
    QCOMPARE(m_bot->ask(User, QStringLiteral("ГОЛОСОВАНИЕ")), Unknown);
    QVERIFY(m_bot->sentTo(Admin).isEmpty());
    QVERIFY(!TextFile::exists(AntiSpam::AskedPath));
    QVERIFY(!TextFile::folderExists(QStringLiteral("\\Блокноты")));
}

void tst_ServicesOnline::popupShowsAndHides()
{
    QVERIFY(GeneralSettings::MergeSettings({{GeneralSettings::Key::Message, "1"},
                                            {GeneralSettings::Key::MessageUP, "1"},
                                            {GeneralSettings::Key::MessageTime, "300"}})
                .ok);
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));
    QVERIFY(m_bot->server().injectText(User, Bot, QStringLiteral("привет")));
    QTRY_VERIFY_WITH_TIMEOUT(m_popup->isVisible(), Timeout);
    QCOMPARE(m_popup->findChild<QLabel *>(QStringLiteral("Label2"))->text(),
             QStringLiteral("От кого : ") + User);
    QCOMPARE(m_popup->findChild<QLabel *>(QStringLiteral("Label3"))->text(),
             QStringLiteral("Сообщение : привет"));
    QVERIFY(m_popup->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(m_popup->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(m_popup->isWindow());
    QTRY_VERIFY_WITH_TIMEOUT(!m_popup->isVisible(), Timeout);
    QVERIFY(!m_timers->timer(QStringLiteral("Timer2"))->isEnabled());
    QCOMPARE(m_timers->timer(QStringLiteral("Timer2"))->interval(), 300);
}

void tst_ServicesOnline::soundsPlayed()
{
    QVERIFY(GeneralSettings::MergeSettings({{GeneralSettings::Key::PlaySounds, "0"},
                                            {GeneralSettings::Key::PlaySoundsOpov, ""},
                                            {GeneralSettings::Key::PlaySoundsHello, ""}})
                .ok);
    TextFile::writeAll(Common, rec("привет", "Здравствуй!"));
    QCOMPARE(m_bot->ask(User, QStringLiteral("привет")), QStringLiteral("Здравствуй!"));
    QCOMPARE(m_sound.played, QStringList{ProgramFolder::path(QStringLiteral("\\Sounds\\sndMsg.wav"))});

    QVERIFY(GeneralSettings::MergeSettings({{GeneralSettings::Key::PlaySounds, "1"}}).ok);
    QCOMPARE(m_bot->ask(User, QStringLiteral("привет")), QStringLiteral("Здравствуй!"));
    QCOMPARE(m_sound.played.size(), 1);
}

void tst_ServicesOnline::powerOffFromAdminOnly()
{
    TextFile::writeAll(QStringLiteral("\\Настройки\\Админ.txt"), Admin + CrLf + CrLf);
    QCOMPARE(m_bot->ask(User, QStringLiteral("!выключить")), Unknown);
    QVERIFY(m_power.requests.isEmpty());

    QVERIFY(m_bot->server().injectText(Admin, Bot, QStringLiteral("!выключить")));
    QTRY_COMPARE_WITH_TIMEOUT(m_power.requests.size(), 1, Timeout);
    QCOMPARE(m_power.requests.constFirst(), RecordingPower::Request::PowerOff);
    QVERIFY(m_bot->sentTo(Admin).isEmpty());

    // logind refuses later: the operator sees a box that does not wait, the administrator a text.
    Q_EMIT m_power.requestFailed(QStringLiteral("Access denied"));
    QTRY_COMPARE_WITH_TIMEOUT(m_bot->sentTo(Admin).size(), 1, Timeout);
    QCOMPARE(m_bot->sentTo(Admin).constFirst(), QStringLiteral("Не удалось выключить компьютер. Access denied"));
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.constFirst().kind, RecordingDialogs::Kind::Notify);

    QVERIFY(m_bot->server().injectText(Admin, Bot, QStringLiteral("!перезагрузить")));
    QTRY_COMPARE_WITH_TIMEOUT(m_power.requests.size(), 2, Timeout);
    QCOMPARE(m_power.requests.constLast(), RecordingPower::Request::Reboot);
}

QTEST_MAIN(tst_ServicesOnline)
#include "tst_servicesonline.moc"
