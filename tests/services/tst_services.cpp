// The built-in services stage by stage: each stage object over one message, its files
// and a recording send.
#include "support/enginefixture.h"

#include "core/generalsettings.h"
#include "core/programfolder.h"
#include "engine/additionalanswers.h"
#include "engine/admincontact.h"
#include "engine/antispam.h"
#include "engine/eventsounds.h"
#include "engine/messagepopup.h"
#include "engine/notepad.h"
#include "engine/remoteshutdown.h"
#include "engine/vote.h"
#include "files/adminfile.h"
#include "platform/recordingdialogs.h"
#include "platform/recordingpower.h"
#include "platform/recordingsound.h"
#include "support/programhome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(StageOutcome)

namespace {

const QString User = QStringLiteral("424242");
const QString Admin = QStringLiteral("777");
const QString NotTaken = QStringLiteral("<not taken>");
const QString Group = QStringLiteral("\\Команды\\Друзья.txt");

QString randomBody(const QString &type, const QString &pool)
{
    return QStringLiteral("'Случайный ответ'\r\nТип: ") + type +
           QStringLiteral("\r\nСообщений: 1\r\n#**\r\n") + pool;
}

class FakePopup : public PopupView
{
public:
    void showPopup(const QString &senderLine, const QString &messageLine) override
    {
        visible = true;
        lines = {senderLine, messageLine};
    }
    void setTopmost(bool on) override { topmost = on; }
    void hidePopup() override { visible = false; }

    bool visible = false;
    bool topmost = false;
    QStringList lines;
};

} // namespace

class tst_Services : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void notepad_data();
    void notepad();
    void adminContact_data();
    void adminContact();
    void voteDialogue();
    void voteWholeLinesAndManyOptions();
    void refusedWritesAreNotConfirmed();
    void antiSpamSettings_data();
    void antiSpamSettings();
    void antiSpamFirstMessageNeverPasses();
    void addAnswer_data();
    void addAnswer();
    void addAnswerToFileAndTwice();
    void eventSounds_data();
    void eventSounds();
    void popup_data();
    void popup();
    void popupLatestMessageRestartsTime();
    void shutdownRefused();

private:
    // The stage's outcome and what it sent: "<not taken>" when it let the message go on.
    template<typename Service>
    QString run(Service &service, StageOutcome (Service::*stage)(MessageState &), const QString &uin,
                const QString &text, QString *toUin = nullptr);

    QList<SentMessage> m_sent;
    SendFunction m_send;
    std::unique_ptr<ProgramHome> m_dir;
};

void tst_Services::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_sent.clear();
    m_send = [this](int slot, const QString &txt, const QString &to) {
        m_sent.append({slot, txt, to});
        return true;
    };
}

void tst_Services::cleanup()
{
    m_dir.reset();
}

template<typename Service>
QString tst_Services::run(Service &service, StageOutcome (Service::*stage)(MessageState &),
                          const QString &uin, const QString &text, QString *toUin)
{
    MessageState state;
    state.SenderUin = uin;
    state.MessageText = text;
    state.slot = 2;
    const qsizetype before = m_sent.size();
    const StageOutcome outcome = (service.*stage)(state);
    if (outcome == StageOutcome::Continue)
        return m_sent.size() == before ? NotTaken : QStringLiteral("<sent but not taken>");
    if (m_sent.size() != before + 1)
        return QStringLiteral("<%1 messages>").arg(m_sent.size() - before);
    if (m_sent.constLast().slot != 2)
        return QStringLiteral("<wrong slot>");
    if (toUin)
        *toUin = m_sent.constLast().toUin;
    else if (m_sent.constLast().toUin != uin)
        return QStringLiteral("<sent to %1>").arg(m_sent.constLast().toUin);
    return m_sent.constLast().txt;
}

// --- notepad ---------------------------------------------------------------------------

void tst_Services::notepad_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("uin");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("note"); // the sender's note file afterwards

    const QString keep = QStringLiteral("старая\r\n");
    QTest::newRow("off: read") << false << User << "!БЛОКНОТ" << NotTaken << keep;
    QTest::newRow("off: write") << false << User << "!БЛОКНОТ_ЗАПИСЬ\r\nновая" << NotTaken << keep;
    QTest::newRow("read") << true << User << "!блокнот" << keep << keep;
    QTest::newRow("read: trailing blank") << true << User << "!БЛОКНОТ " << NotTaken << keep;
    QTest::newRow("read: second line") << true << User << "!БЛОКНОТ\r\nещё" << NotTaken << keep;
    QTest::newRow("write: two lines")
        << true << User << "!блокнот_запись\r\nодин\r\nдва" << Notepad::ChangedText << "один\r\nдва\r\n";
    QTest::newRow("write: empty note") << true << User << "!БЛОКНОТ_ЗАПИСЬ\r\n"
                                       << Notepad::ChangedText << "\r\n";
    QTest::newRow("write: keyword with text")
        << true << User << "!БЛОКНОТ_ЗАПИСЬ текст\r\nновая" << NotTaken << keep;
    QTest::newRow("write: keyword alone") << true << User << "!БЛОКНОТ_ЗАПИСЬ" << NotTaken << keep;
    QTest::newRow("read: no note") << true << "999"
                                   << "!БЛОКНОТ" << Notepad::NoNoteText << "";
    QTest::newRow("write: first note") << true << "999"
                                       << "!БЛОКНОТ_ЗАПИСЬ\r\nмоя" << Notepad::CreatedText << "моя\r\n";
    QTest::newRow("not a number") << true << "../x"
                                  << "!БЛОКНОТ_ЗАПИСЬ\r\nмоя" << NotTaken << "";
}

void tst_Services::notepad()
{
    QFETCH(bool, on);
    QFETCH(QString, uin);
    QFETCH(QString, input);
    QFETCH(QString, reply);
    QFETCH(QString, note);
    if (on)
        TextFile::writeAll(Notepad::SwitchPath, QStringLiteral(" 1 \r\n"));
    TextFile::writeAll(Notepad::notePath(User), QStringLiteral("старая\r\n"));
    TextFile::writeAll(Notepad::ListPath, User + CrLf);

    Notepad service(m_send);
    QCOMPARE(run(service, &Notepad::HandleNotepad, uin, input), reply);
    const QString path = Notepad::notePath(uin);
    QCOMPARE(path.isEmpty() ? QString() : TextFile::readAll(path), note);
    const QStringList list = TextFile::readLines(Notepad::ListPath);
    QCOMPARE(list.contains(uin), uin == User || reply == Notepad::CreatedText);
    QCOMPARE(list.count(uin), list.contains(uin) ? 1 : 0);
}

// --- administrator contact -------------------------------------------------------------

void tst_Services::adminContact_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("uin");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("to");

    const QString on = QStringLiteral(" 1 \r\n") + Admin + CrLf;
    QTest::newRow("off") << " 0 \r\n777\r\n" << User << "!АДМИН текст" << NotTaken << "";
    QTest::newRow("no file") << "" << User << "!АДМИН текст" << NotTaken << "";
    QTest::newRow("to admin") << on << User << "!админ строка\r\nещё"
                              << AdminContact::forwardedText(User, "строка\r\nещё") << Admin;
    QTest::newRow("to admin: empty text")
        << on << User << "!АДМИН " << AdminContact::forwardedText(User, "") << Admin;
    QTest::newRow("to admin: no blank") << on << User << "!АДМИН" << NotTaken << "";
    QTest::newRow("relay") << on << Admin << "!пользователь\r\n123\r\nа\r\nб"
                           << "а\r\nб"
                           << "123";
    QTest::newRow("relay: not the admin") << on << User << "!ПОЛЬЗОВАТЕЛЬ\r\n123\r\nа" << NotTaken << "";
    QTest::newRow("relay: alone") << on << Admin << "!ПОЛЬЗОВАТЕЛЬ" << NotTaken << "";
    QTest::newRow("relay: number without line break")
        << on << Admin << "!ПОЛЬЗОВАТЕЛЬ\r\n123" << NotTaken << "";
    QTest::newRow("relay: not a number") << on << Admin << "!ПОЛЬЗОВАТЕЛЬ\r\n12a\r\nа" << NotTaken << "";
    QTest::newRow("relay: 16 digits")
        << on << Admin << "!ПОЛЬЗОВАТЕЛЬ\r\n1234567890123456\r\nа" << NotTaken << "";
}

void tst_Services::adminContact()
{
    QFETCH(QString, settings);
    QFETCH(QString, uin);
    QFETCH(QString, input);
    QFETCH(QString, reply);
    QFETCH(QString, to);
    if (!settings.isEmpty())
        TextFile::writeAll(AdminContact::SettingsPath, settings);

    AdminContact service(m_send);
    MessageState state;
    state.SenderUin = uin;
    state.MessageText = input;
    state.ReplyText = QStringLiteral("прежний");
    const MessageState before = state;
    QString sentTo;
    QCOMPARE(run(service, &AdminContact::HandleAdminContact, uin, input, &sentTo), reply);
    QCOMPARE(sentTo, to);
    // The handled message keeps its own sender, text and answer.
    service.HandleAdminContact(state);
    QCOMPARE(state.SenderUin, before.SenderUin);
    QCOMPARE(state.MessageText, before.MessageText);
    QCOMPARE(state.ReplyText, before.ReplyText);
}

// --- vote ------------------------------------------------------------------------------

void tst_Services::voteDialogue()
{
    Vote service(m_send);
    QCOMPARE(run(service, &Vote::HandleVote, User, "ГОЛОСОВАНИЕ"), NotTaken); // no vote defined

    TextFile::writeAll(Vote::DefinitionPath, QStringLiteral("Вопрос:^:Один\r\n"));
    const QString text = QStringLiteral("Вопрос\r\n\r\nВарианты:\r\nОдин\r\n\r\n") + Vote::CancelHint;
    QCOMPARE(Vote::voteText(*Vote::definition()), text);
    QCOMPARE(run(service, &Vote::HandleVote, User, "!ГОЛОСОВАНИЕ"), NotTaken);
    QCOMPARE(run(service, &Vote::HandleVote, User, "ГОЛОСОВАНИЕ "), NotTaken);
    QCOMPARE(run(service, &Vote::HandleVote, User, "!отмена голосования"), NotTaken);
    QCOMPARE(run(service, &Vote::HandleVote, User, "голосование"), text);
    QCOMPARE(run(service, &Vote::HandleVote, "555", "Голосование"), text);
    QCOMPARE(run(service, &Vote::HandleVote, User, "ГОЛОСОВАНИЕ"), text);
    QCOMPARE(run(service, &Vote::HandleVote, User, "!Отмена голосования"), Vote::CancelledText);
    QCOMPARE(TextFile::readAll(Vote::PendingPath), QStringLiteral("555\r\n"));
    QCOMPARE(run(service, &Vote::HandleVote, "555", "!ОТМЕНА ГОЛОСОВАНИЯ"), Vote::CancelledText);
    QVERIFY(!TextFile::exists(Vote::PendingPath));
    QCOMPARE(run(service, &Vote::HandleVote, User, "что-то"), NotTaken);
    QVERIFY(!TextFile::exists(Vote::ResultsPath));
}

void tst_Services::voteWholeLinesAndManyOptions()
{
    QStringList options;
    for (int i = 1; i <= 1200; ++i)
        options.append(QStringLiteral("вариант %1").arg(i));
    TextFile::writeAll(Vote::DefinitionPath,
                       QStringLiteral("Q:^:") + options.join(QStringLiteral(":^:")) + CrLf);
    TextFile::writeAll(Vote::VotersPath, QStringLiteral("1234\r\n"));
    TextFile::writeAll(Vote::PendingPath, QStringLiteral("1234\r\n"));

    Vote service(m_send);
    QCOMPARE(run(service, &Vote::HandleVote, "1234", "ГОЛОСОВАНИЕ"), NotTaken);
    // 123 is not 1234: neither voted nor pending.
    QCOMPARE(run(service, &Vote::HandleVote, "123", "вариант 1100"), NotTaken);
    QVERIFY(run(service, &Vote::HandleVote, "123", "ГОЛОСОВАНИЕ")
                .endsWith(QStringLiteral("вариант 1200\r\n\r\n") + Vote::CancelHint));
    QCOMPARE(run(service, &Vote::HandleVote, "123", "Вариант 1100"), Vote::ThanksText);
    QCOMPARE(TextFile::readAll(Vote::ResultsPath), QStringLiteral("ВАРИАНТ 1100\r\n"));
    QCOMPARE(TextFile::readLines(Vote::VotersPath), (QStringList{"1234", "123"}));
    QCOMPARE(run(service, &Vote::HandleVote, "123", "ГОЛОСОВАНИЕ"), NotTaken);
}

void tst_Services::refusedWritesAreNotConfirmed()
{
    // A folder where the file should be refuses the write for every user, root included.
    TextFile::writeAll(Notepad::SwitchPath, QStringLiteral(" 1 \r\n"));
    QVERIFY(QDir().mkpath(TextFile::filePath(Notepad::notePath(User))));
    Notepad notepad(m_send);
    QCOMPARE(run(notepad, &Notepad::HandleNotepad, User, "!БЛОКНОТ_ЗАПИСЬ\r\nтекст"), Notepad::NotSavedText);
    QVERIFY(!TextFile::readLines(Notepad::ListPath).contains(User));

    TextFile::writeAll(Vote::DefinitionPath, QStringLiteral("Вопрос:^:Один\r\n"));
    QVERIFY(QDir().mkpath(TextFile::filePath(Vote::ResultsPath)));
    Vote vote(m_send);
    QVERIFY(run(vote, &Vote::HandleVote, User, "ГОЛОСОВАНИЕ").endsWith(Vote::CancelHint));
    QCOMPARE(run(vote, &Vote::HandleVote, User, "один"), Vote::NotSavedText);
    // Not counted as a voter: once the disk takes it, the same user may vote.
    QVERIFY(!TextFile::readLines(Vote::VotersPath).contains(User));
}

// --- anti-spam -------------------------------------------------------------------------

void tst_Services::antiSpamSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("success");

    QTest::newRow("flag typed by hand") << "1\r\n" << true << "" << "" << "";
    QTest::newRow("window defaults")
        << " 1 \r\n---\r\nВопрос?\r\n\r\n---\r\nPlumwerk\r\n\r\n---\r\nУспех.\r\nДальше.\r\n\r\n"
        << true << "Вопрос?\r\n"
        << "Plumwerk"
        << "Успех.\r\nДальше.\r\n\r\n";
    QTest::newRow("typed without Enter") << " 1 \r\n---\r\nQ\r\n---\r\nA\r\n---\r\nS\r\n"
                                         << true << "Q"
                                         << "A"
                                         << "S\r\n";
    QTest::newRow("off") << " 0 \r\n---\r\nQ\r\n---\r\nA\r\n---\r\nS\r\n"
                         << false << "Q"
                         << "A"
                         << "S\r\n";
    QTest::newRow("missing") << "" << false << ""
                             << ""
                             << "";
    QTest::newRow("dashes inside a line")
        << " 1 \r\n---\r\nQ --- q\r\n---\r\nA---a\r\n---\r\nS\r\n---\r\nT\r\n"
        << true << "Q --- q"
        << "A---a"
        << "S\r\n---\r\nT\r\n";
    QTest::newRow("answer with two lines")
        << " 1 \r\n---\r\nQ\r\n---\r\nA\r\nB\r\n\r\n---\r\nS" << true << "Q"
        << "A\r\nB"
        << "S";
    QTest::newRow("cut short") << " 1 \r\n---\r\nQ\r\n---\r\nA\r\n"
                               << true << "Q"
                               << "A"
                               << "";
}

void tst_Services::antiSpamSettings()
{
    QFETCH(QString, text);
    const AntiSpam::Settings settings = AntiSpam::parse(text);
    QTEST(settings.on, "on");
    QTEST(settings.question, "question");
    QTEST(settings.answer, "answer");
    QTEST(settings.success, "success");
}

void tst_Services::antiSpamFirstMessageNeverPasses()
{
    TextFile::writeAll(AntiSpam::SettingsPath,
                       QStringLiteral(" 1 \r\n---\r\nQ\r\n---\r\nA\r\n\r\n---\r\nS\r\n"));
    AntiSpam service(m_send);
    const QString question = QStringLiteral("Q\r\n\r\n") + AntiSpam::NotHandledText;
    QCOMPARE(run(service, &AntiSpam::CheckAntiSpam, User, "A"), question);
    QCOMPARE(run(service, &AntiSpam::CheckAntiSpam, User, "A "), AntiSpam::WrongAnswerText + "Q");
    QCOMPARE(run(service, &AntiSpam::CheckAntiSpam, User, "A\r\n"), AntiSpam::WrongAnswerText + "Q");
    QCOMPARE(run(service, &AntiSpam::CheckAntiSpam, User, "A"), QStringLiteral("S\r\n"));
    QCOMPARE(run(service, &AntiSpam::CheckAntiSpam, User, "anything"), NotTaken);
    QCOMPARE(run(service, &AntiSpam::CheckAntiSpam, "12", "A"), question);
    QCOMPARE(TextFile::readLines(AntiSpam::AskedPath), (QStringList{User, "12"}));
    QCOMPARE(TextFile::readLines(AntiSpam::PassedPath), QStringList{User});

    TextFile::writeAll(AntiSpam::SettingsPath, QStringLiteral(" 0 \r\n---\r\nQ\r\n---\r\nA\r\n---\r\nS\r\n"));
    QCOMPARE(run(service, &AntiSpam::CheckAntiSpam, "99", "x"), NotTaken);
    QCOMPARE(TextFile::readLines(AntiSpam::AskedPath), (QStringList{User, "12"}));
}

// --- "!add" ----------------------------------------------------------------------------

void tst_Services::addAnswer_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<StageOutcome>("outcome");
    QTest::addColumn<QString>("file"); // the group file afterwards

    const QString longer = rec("шуткадня", randomBody("2", "длинная\r\n#"));
    const QString other = rec("текст", "просто текст");
    const QString before = longer + rec("шутка", randomBody("2", "старая\r\n#")) + other;
    auto with = [&](const QString &added) {
        return longer + rec("шутка", randomBody("2", "старая\r\n#\r\n" + added + "\r\n#")) + other;
    };

    QTest::newRow("added") << "!add шутка новая, с пробелами " << StageOutcome::Stop
                           << with("новая, с пробелами ");
    QTest::newRow("several lines") << "!add шутка раз\r\nдва" << StageOutcome::Stop << with("раз\r\nдва");
    QTest::newRow("not !add") << "!Add шутка новая" << StageOutcome::Continue << before;
    QTest::newRow("no blank") << "!add" << StageOutcome::Continue << before;
    QTest::newRow("name only") << "!add шутка" << StageOutcome::Stop << before;
    QTest::newRow("empty text") << "!add шутка " << StageOutcome::Stop << before;
    QTest::newRow("not listed") << "!add шуткадня новая" << StageOutcome::Stop << before;
    QTest::newRow("prefix of a listed name") << "!add шут новая" << StageOutcome::Stop << before;
    QTest::newRow("terminator") << "!add шутка а====б" << StageOutcome::Stop << before;
    QTest::newRow("head line") << "!add шутка а\r\nКоманда: x" << StageOutcome::Stop << before;
    QTest::newRow("action line") << "!add шутка а\r\nДействие: x" << StageOutcome::Stop << before;
    QTest::newRow("separator") << "!add шутка а#б" << StageOutcome::Stop << before;
    QTest::newRow("not a random answer") << "!add текст новая" << StageOutcome::Stop << before;
}

void tst_Services::addAnswer()
{
    QFETCH(QString, input);
    QFETCH(StageOutcome, outcome);
    QFETCH(QString, file);
    TextFile::writeAll(Group, rec("шуткадня", randomBody("2", "длинная\r\n#")) +
                                  rec("шутка", randomBody("2", "старая\r\n#")) +
                                  rec("текст", "просто текст"));
    TextFile::writeAll(AdditionalAnswers::ListPath,
                       QStringLiteral("Друзья шутка\r\nДрузья шут\r\nДрузья текст\r\n"));

    AdditionalAnswers service;
    MessageState state;
    state.SenderUin = User;
    state.MessageText = input;
    QCOMPARE(service.AddAnswerVariant(state), outcome);
    QCOMPARE(TextFile::readAll(Group), file);
}

void tst_Services::addAnswerToFileAndTwice()
{
    TextFile::writeAll(Group, rec("цитата", randomBody("1", "цитаты.txt")) +
                                  rec("шутка", randomBody("2", "а\r\n#")));
    TextFile::writeAll(QStringLiteral("\\цитаты.txt"), QStringLiteral("первая\r\n#\r\n"));
    TextFile::writeAll(AdditionalAnswers::ListPath,
                       QStringLiteral("Друзья цитата\r\nДрузья шутка\r\nДрузья шутка\r\nНет шутка\r\n"));
    const QString groupBefore = TextFile::readAll(Group);

    AdditionalAnswers service;
    MessageState state;
    state.MessageText = QStringLiteral("!add цитата вторая");
    QCOMPARE(service.AddAnswerVariant(state), StageOutcome::Stop);
    QCOMPARE(TextFile::readAll(QStringLiteral("\\цитаты.txt")),
             QStringLiteral("первая\r\n#\r\nвторая\r\n#\r\n"));
    QCOMPARE(TextFile::readAll(Group), groupBefore);

    // Listed twice: added once per listing.
    state.MessageText = QStringLiteral("!add шутка б");
    QCOMPARE(service.AddAnswerVariant(state), StageOutcome::Stop);
    QCOMPARE(TextFile::readAll(Group), rec("цитата", randomBody("1", "цитаты.txt")) +
                                           rec("шутка", randomBody("2", "а\r\n#\r\nб\r\n#\r\nб\r\n#")));
}

// --- sounds ----------------------------------------------------------------------------

void tst_Services::eventSounds_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("played"); // program path, or "" for none

    const QString defaults = QStringLiteral("PlaySounds=0\r\nPlaySoundsOpov=\r\nPlaySoundsHello=\r\n");
    QTest::newRow("message, default") << defaults << 1 << "\\Sounds\\sndMsg.wav";
    QTest::newRow("start-up, default") << defaults << 2 << "\\Sounds\\sndStartup.wav";
    QTest::newRow("kind 3 is start-up") << defaults << 3 << "\\Sounds\\sndStartup.wav";
    QTest::newRow("off") << "PlaySounds=1\r\nPlaySoundsOpov=\r\nPlaySoundsHello=\r\n" << 1 << "";
    QTest::newRow("no key") << "Message=1\r\n" << 1 << "";
    QTest::newRow("no file") << "" << 2 << "";
    QTest::newRow("configured") << "PlaySounds=0\r\nPlaySoundsOpov=\r\nPlaySoundsHello=\\свой.wav\r\n"
                                << 2 << "\\свой.wav";
    QTest::newRow("configured but missing") << "PlaySounds=0\r\nPlaySoundsOpov=\\нет.wav\r\n"
                                            << 1 << "\\Sounds\\sndMsg.wav";
    QTest::newRow("exact key only") << "XPlaySounds=1\r\nPlaySounds=0\r\n" << 1 << "\\Sounds\\sndMsg.wav";
}

void tst_Services::eventSounds()
{
    QFETCH(QString, settings);
    QFETCH(int, kind);
    QFETCH(QString, played);
    if (!settings.isEmpty())
        TextFile::writeAll(GeneralSettings::FilePath, settings);
    TextFile::writeAll(QStringLiteral("\\свой.wav"), QStringLiteral("RIFF"));

    RecordingSound sound;
    EventSounds sounds(&sound);
    sounds.PlayEventSound(kind);
    QCOMPARE(sound.played, played.isEmpty() ? QStringList() : QStringList{ProgramFolder::path(played)});
}

// --- popup -----------------------------------------------------------------------------

void tst_Services::popup_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("topmost");
    QTest::addColumn<int>("interval"); // 0: Timer2 not armed

    QTest::newRow("shown") << "Message=1\r\nMessageUP=0\r\nMessageTime=5000\r\n" << true << false << 5000;
    QTest::newRow("on top") << "Message=1\r\nMessageUP=1\r\nMessageTime=5000\r\n" << true << true << 5000;
    QTest::newRow("off, timer still runs") << "Message=0\r\nMessageUP=1\r\nMessageTime=100\r\n"
                                           << false << true << 100;
    QTest::newRow("empty time") << "Message=1\r\nMessageUP=0\r\nMessageTime=\r\n" << true << false << 3000;
    QTest::newRow("time not a number") << "Message=1\r\nMessageTime=abc\r\n" << true << false << 3000;
    QTest::newRow("time zero") << "Message=1\r\nMessageTime=0\r\n" << true << false << 3000;
    QTest::newRow("time negative") << "Message=1\r\nMessageTime=-5\r\n" << true << false << 3000;
    QTest::newRow("time fraction") << "Message=1\r\nMessageTime=2.5\r\n" << true << false << 3000;
    QTest::newRow("time before the switch") << "MessageTime=4000\r\nMessageUP=0\r\nMessage=1\r\n"
                                            << true << false << 4000;
    QTest::newRow("no settings file") << "" << false << false << 0;
}

void tst_Services::popup()
{
    QFETCH(QString, settings);
    QFETCH(bool, visible);
    QFETCH(bool, topmost);
    QFETCH(int, interval);
    if (!settings.isEmpty())
        TextFile::writeAll(GeneralSettings::FilePath, settings);

    NamedTimer timer2(QStringLiteral("Timer2"), 3000);
    FakePopup view;
    MessagePopup popup(timer2, &view);
    MessageState state;
    state.SenderUin = User;
    state.MessageText = QStringLiteral("строка\r\nвторая");
    popup.ShowMessagePopup(state);
    QCOMPARE(view.visible, visible);
    QCOMPARE(view.topmost, topmost);
    QCOMPARE(timer2.isEnabled(), interval > 0);
    if (interval > 0)
        QCOMPARE(timer2.interval(), interval);
    if (visible)
        QCOMPARE(view.lines, (QStringList{"От кого : " + User, "Сообщение : строка\r\nвторая"}));
    timer2.tick();
    QVERIFY(!view.visible);
    QVERIFY(!timer2.isEnabled());
}

void tst_Services::popupLatestMessageRestartsTime()
{
    TextFile::writeAll(GeneralSettings::FilePath,
                       QStringLiteral("Message=1\r\nMessageUP=0\r\nMessageTime=400\r\n"));
    NamedTimer timer2(QStringLiteral("Timer2"), 3000);
    FakePopup view;
    MessagePopup popup(timer2, &view);
    QSignalSpy ticks(&timer2, &NamedTimer::ticked);
    MessageState first;
    first.SenderUin = User;
    first.MessageText = QStringLiteral("первое");
    popup.ShowMessagePopup(first);
    MessageState second = first;
    second.MessageText = QStringLiteral("второе");
    QElapsedTimer clock;
    clock.start();
    popup.ShowMessagePopup(second);
    QCOMPARE(view.lines.value(1), QStringLiteral("Сообщение : второе"));
    // One hide, the display time after the latest message.
    QVERIFY(ticks.wait(30000));
    QVERIFY(clock.elapsed() >= 390);
    QVERIFY(!view.visible);
    QCOMPARE(ticks.size(), 1);
}

// --- shutdown --------------------------------------------------------------------------

void tst_Services::shutdownRefused()
{
    TextFile::writeAll(AdminFile::FilePath, Admin + CrLf + CrLf);
    RecordingDialogs dialogs;
    Dialogs::setInstance(&dialogs);
    RecordingPower power;
    power.result = false;
    {
        RemoteShutdown shutdown(m_send, &power);
        shutdown.ShutdownSystem(RemoteShutdown::Reboot);
        QCOMPARE(power.requests, QList<RecordingPower::Request>{RecordingPower::Request::Reboot});
        QCOMPARE(m_sent, (QList<SentMessage>{{1, RemoteShutdown::failureText(2, QString()), Admin}}));
        QCOMPARE(m_sent.constFirst().txt, QStringLiteral("Не удалось перезагрузить компьютер."));
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.constFirst().kind, RecordingDialogs::Kind::Notify);
        QCOMPARE(dialogs.shown.constFirst().text, QStringLiteral("Не удалось перезагрузить компьютер."));
    }
    // Gone with the service: a later refusal reaches no one.
    Q_EMIT power.requestFailed(QStringLiteral("late"));
    QCOMPARE(m_sent.size(), 1);

    // Without a fixed instance the program's own one is asked.
    RecordingPower program;
    Power::setInstance(&program);
    RemoteShutdown shutdown(m_send);
    shutdown.ShutdownSystem(RemoteShutdown::PowerOff);
    QCOMPARE(program.requests, QList<RecordingPower::Request>{RecordingPower::Request::PowerOff});
    Q_EMIT program.requestFailed(QStringLiteral("нет прав"));
    QCOMPARE(m_sent.constLast(),
             (SentMessage{1, QStringLiteral("Не удалось выключить компьютер. нет прав"), Admin}));
    Power::setInstance(nullptr);
    Dialogs::setInstance(nullptr);
}

QTEST_GUILESS_MAIN(tst_Services)
#include "tst_services.moc"
