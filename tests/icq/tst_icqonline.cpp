// The bot on the local OSCAR server, over TCP: it logs in from its login window, users
// write to it and get answers, it sends and changes status, and survives a dropped
// session. Every test runs in a fresh program folder.
#include "tcptap.h"

#include "core/cp1251.h"
#include "core/generalsettings.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "files/distributionlist.h"
#include "files/storedlogin.h"
#include "platform/recordingdialogs.h"
#include "session/connectionlog.h"
#include "session/framereader.h"
#include "session/icqsession.h"
#include "session/incomingreader.h"
#include "session/loginexchange.h"
#include "session/loginform.h"
#include "session/login_window.h"
#include "session/packetreader.h"
#include "session/signon.h"
#include "session/socketcontrol.h"
#include "tools/peer/oscarpeer.h"
#include "tools/server/oscarserver.h"
#include "support/frames.h"
#include "support/programhome.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int Timeout = 30000;

const QString Bot = QStringLiteral("111111");
const QByteArray BotPassword = "botpass";
const QString Secondary = QStringLiteral("222222");
const QByteArray SecondaryPassword = "секрет";
const QString User = QStringLiteral("424242");
const QByteArray UserPassword = "userpw";

} // namespace

class tst_IcqOnline : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void mainBotLogsInFromWindow_data();
    void mainBotLogsInFromWindow();
    void refusedLoginShowsOneBoxAndIsLogged_data();
    void refusedLoginShowsOneBoxAndIsLogged();
    void longPasswordLogsInThroughTheButton();
    void serverEndsTheSession_data();
    void serverEndsTheSession();
    void stalledLoginGivenUp_data();
    void stalledLoginGivenUp();
    void usersMessagesTakeTheirRoad();
    void malformedSenderDropped();
    void sendMessageDeliversCyrillic();
    void statusOnEachSignedOnSlot();
    void silentlyClosedSessionLeavesNoBox();
    void nothingGoesOutBeforeTheSessionHello();

private:
    // The main bot logged in through the window's logic; true once the server has it online.
    bool logInMainBot();
    // A user of the server, online.
    bool logInUser(OscarPeer &peer);
    // The newest line of the day's connection log, without its date and time.
    static QString lastLogEvent();

    std::unique_ptr<ProgramHome> m_dir;
    std::unique_ptr<RecordingDialogs> m_dialogs;
    std::unique_ptr<OscarServer> m_server;
    std::unique_ptr<IcqSession> m_session;
};

void tst_IcqOnline::init()
{
    m_dir = std::make_unique<ProgramHome>();
    QVERIFY(m_dir->isValid());
    m_dialogs = std::make_unique<RecordingDialogs>();
    Dialogs::setInstance(m_dialogs.get());

    m_server = std::make_unique<OscarServer>();
    m_server->addAccount(Bot, BotPassword);
    m_server->addAccount(Secondary, Cp1251::encode(QString::fromUtf8(SecondaryPassword)));
    m_server->addAccount(User, UserPassword);
    QVERIFY2(m_server->listen(QHostAddress::LocalHost), qPrintable(m_server->errorString()));

    TextFile::writeLines(GeneralSettings::FilePath,
                         {"Server=127.0.0.1", QStringLiteral("Port=%1").arg(m_server->loginPort())});
    TextFile::writeLines(QStringLiteral("\\Настройки\\Распределение.txt"),
                         {QStringLiteral("2 %1 %2 0").arg(Secondary, QString::fromUtf8(SecondaryPassword))});
    m_session = std::make_unique<IcqSession>();
}

void tst_IcqOnline::cleanup()
{
    // The server is as strict about frame numbers as real ones: no test may break them.
    const int sequenceErrors = m_server ? m_server->sequenceErrors() : 0;
    m_session.reset();
    m_server.reset();
    Dialogs::setInstance(nullptr);
    m_dialogs.reset();
    m_dir.reset();
    QCOMPARE(sequenceErrors, 0);
}

bool tst_IcqOnline::logInMainBot()
{
    LoginForm form(*m_session);
    if (form.submit(Bot, QString::fromLatin1(BotPassword), false) != LoginForm::Outcome::Started)
        return false;
    return QTest::qWaitFor([&] { return m_server->isOnline(Bot); }, Timeout);
}

bool tst_IcqOnline::logInUser(OscarPeer &peer)
{
    peer.logIn(QStringLiteral("127.0.0.1"), m_server->loginPort(), User, UserPassword);
    return QTest::qWaitFor([&] { return peer.isOnline(); }, Timeout);
}

QString tst_IcqOnline::lastLogEvent()
{
    const QString line = TextFile::readLines(ConnectionLog::filePath()).value(0);
    return line.section(QStringLiteral(" - "), 2);
}

void tst_IcqOnline::mainBotLogsInFromWindow_data()
{
    QTest::addColumn<OscarServer::WriteMode>("mode");
    QTest::newRow("whole frames") << OscarServer::WriteMode::Whole;
    QTest::newRow("split frames") << OscarServer::WriteMode::Split;
    QTest::newRow("coalesced frames") << OscarServer::WriteMode::Coalesced;
}

void tst_IcqOnline::mainBotLogsInFromWindow()
{
    QFETCH(OscarServer::WriteMode, mode);
    m_server->setWriteMode(mode);
    // Taps between bot and server keep every byte the bot sends.
    TcpTap loginTap(m_server->loginPort());
    TcpTap sessionTap(m_server->sessionPort());
    QVERIFY(loginTap.listen());
    QVERIFY(sessionTap.listen());
    m_server->setAdvertisedSessionAddress(QStringLiteral("127.0.0.1:%1").arg(sessionTap.port()));
    TextFile::writeLines(GeneralSettings::FilePath,
                         {"Server=127.0.0.1", QStringLiteral("Port=%1").arg(loginTap.port())});
    QSignalSpy signedOn(m_session.get(), &IcqSession::signedOn);

    fMain window(*m_session);
    window.show();
    QTest::keyClicks(window.findChild<QLineEdit *>(QStringLiteral("Text1")), Bot);
    QTest::keyClicks(window.findChild<QLineEdit *>(QStringLiteral("Text2")),
                     QString::fromLatin1(BotPassword));
    window.findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(true);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);

    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(Bot), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(signedOn.size(), 1, Timeout);
    QCOMPARE(signedOn.first().first().toInt(), 1);
    QVERIFY(!window.Command1->isEnabled());
    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(TextFile::readLines(RememberedLogin::FilePath),
             (QStringList{Bot, QString::fromLatin1(BotPassword)}));

    // The login connection: the login packet byte for byte, then the goodbye, each frame
    // under the number after the one before (a strict server closes on a repeat).
    QCOMPARE(loginTap.count(), 1);
    const QByteArray login =
        PacketWriter::flap(1, 2000, LoginExchange::loginPacket(Bot.toLatin1(), BotPassword));
    QTRY_COMPARE_WITH_TIMEOUT(loginTap.sent(0).toHex(' '),
                              (login + QByteArray::fromHex("2A0407D10000")).toHex(' '), Timeout);
    const QList<FLAP> loginFrames = framesOf(loginTap.sent(0));
    QCOMPARE(loginFrames.size(), 2);
    QCOMPARE(loginFrames[0].SeqNumber(), 2000);
    QCOMPARE(loginFrames[1].SeqNumber(), 2001);
    QCOMPARE(m_server->sequenceErrors(), 0);

    // The session connection: the sign-on frames in order, numbered from 12171.
    QCOMPARE(sessionTap.count(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(framesOf(sessionTap.sent(0)).size(), 18, Timeout);
    const QList<FLAP> frames = framesOf(sessionTap.sent(0));
    for (int k = 0; k < frames.size(); ++k)
        QCOMPARE(frames[k].SeqNumber(), 12171 + k);
    QCOMPARE(frameNames(frames), (QStringList{"ch 1", "1,17", "1,6", "1,8", "1,E", "2,2", "3,2", "4,4", "9,2", "4,2", "2,4",
                                 "9,7", "1,1E", "1,2", "15,2", "15,2", "15,2", "15,2"}));
    const QByteArray expected[] = {SignOn::serviceVersions(),       SignOn::rateRequest(),
                                   SignOn::rateAcknowledge(),       SignOn::ownInfoRequest(),
                                   SignOn::locationRightsRequest(), SignOn::contactRightsRequest(),
                                   SignOn::messageParamsRequest(),  SignOn::privacyRightsRequest(),
                                   SignOn::setMessageParams(),      SignOn::setLocationInfo(),
                                   SignOn::addVisible({}),          SignOn::setStatusOnline(),
                                   SignOn::clientReady(),           SignOn::offlineMessagesRequest(111111)};
    for (int k = 0; k < int(std::size(expected)); ++k)
        QCOMPARE(frames[k + 1].Data().toHex(' '), expected[k].toHex(' '));
    QCOMPARE(m_server->statusOf(Bot), std::optional<quint32>(0x00030000));
}

void tst_IcqOnline::refusedLoginShowsOneBoxAndIsLogged_data()
{
    QTest::addColumn<bool>("serverKeepsItOpen");
    QTest::newRow("server closes") << false;
    QTest::newRow("server leaves the connection open") << true;
}

void tst_IcqOnline::refusedLoginShowsOneBoxAndIsLogged()
{
    QFETCH(bool, serverKeepsItOpen);
    if (serverKeepsItOpen)
        m_server->setFault(OscarServer::Fault::KeepRefusedLoginOpen);
    QSignalSpy refused(m_server.get(), &OscarServer::loginRefused);
    QSignalSpy failed(m_session.get(), &IcqSession::loginFailed);
    fMain window(*m_session);
    QTest::keyClicks(window.Text1, Bot);
    QTest::keyClicks(window.Text2, QStringLiteral("wrong"));
    QTest::mouseClick(window.Command1, Qt::LeftButton);

    QTRY_COMPARE_WITH_TIMEOUT(refused.size(), 1, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, Timeout);
    QCOMPARE(failed.first().at(0).toInt(), 1);
    QCOMPARE(failed.first().at(1).value<IcqSession::LoginFailure>(), IcqSession::LoginFailure::Refused);
    QCOMPARE(lastLogEvent(), QStringLiteral("Сервер отказал во входе номеру 111111, код ошибки: 0005."));
    // The bot hangs up itself, whatever the server does.
    QTRY_COMPARE_WITH_TIMEOUT(m_server->loginConnections(), 0, Timeout);
    QCOMPARE(m_session->loginPhase(1), IcqSession::LoginPhase::Idle);

    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown[0].title, QStringLiteral("Ошибка ввода логина или пароля"));
    QCOMPARE(m_dialogs->shown[0].text,
             QStringLiteral(
                 "Ошибка подключения. Она могла возникнуть из-за того, что Вы не правильно ввели логин или "
                 "пароль, либо превышен лимит подключений к серверу."));
    QCOMPARE(m_dialogs->shown[0].icon, Dialogs::Icon::Critical);
    QVERIFY(!window.Command1->isEnabled());
    QCOMPARE(m_session->WorkSlotUin(1), QString());
    QVERIFY(!m_server->isOnline(Bot));
}

void tst_IcqOnline::longPasswordLogsInThroughTheButton()
{
    // Longer than the 16 characters some servers take; roasted cyclically on both sides.
    const QString number = QStringLiteral("555555");
    const QString password = QStringLiteral("длинныйпароль-20симв");
    QCOMPARE(password.size(), 20);
    m_server->addAccount(number, Cp1251::encode(password));
    fMain window(*m_session);
    window.show();
    QTest::keyClicks(window.Text1, number);
    window.Text2->insert(password);
    QTest::mouseClick(window.Command1, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(number), Timeout);
    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(m_session->lastSuccessfulLogin(1), std::optional<Credentials>(Credentials{number, password}));
}

void tst_IcqOnline::serverEndsTheSession_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<IcqSession::SessionEnd>("end");
    QTest::addColumn<QString>("logged");
    QTest::newRow("connection closed") << "close" << IcqSession::SessionEnd::ServerClosed
                                       << "Сервер разорвал соединение номера 111111.";
    QTest::newRow("server gone") << "server gone" << IcqSession::SessionEnd::ServerClosed
                                 << "Сервер разорвал соединение номера 111111.";
    QTest::newRow("signed off") << "sign off" << IcqSession::SessionEnd::SignedOff
                                << "Сервер отключил номер 111111.";
    QTest::newRow("another client") << "another client" << IcqSession::SessionEnd::AnotherClient
                                    << "Сервер отключил номер 111111: с этим номером вошёл другой клиент.";
}

void tst_IcqOnline::serverEndsTheSession()
{
    QFETCH(QString, how);
    QFETCH(IcqSession::SessionEnd, end);
    QFETCH(QString, logged);
    QVERIFY(logInMainBot());
    QTRY_VERIFY_WITH_TIMEOUT(m_session->isSignedOn(1), Timeout);
    QSignalSpy lost(m_session.get(), &IcqSession::sessionLost);

    OscarPeer other;
    if (how == QLatin1String("close"))
        QVERIFY(m_server->closeSessionSilently(Bot));
    else if (how == QLatin1String("server gone"))
        m_server->close();
    else if (how == QLatin1String("sign off"))
        QVERIFY(m_server->signOff(Bot));
    else
        other.logIn(QStringLiteral("127.0.0.1"), m_server->loginPort(), Bot, BotPassword);

    QVERIFY(lost.wait(Timeout));
    QCOMPARE(lost.size(), 1);
    QCOMPARE(lost.first().at(0).toInt(), 1);
    QCOMPARE(lost.first().at(1).value<IcqSession::SessionEnd>(), end);
    QCOMPARE(m_session->loginPhase(1), IcqSession::LoginPhase::Idle);
    QCOMPARE(lastLogEvent(), logged);
    QVERIFY(m_dialogs->shown.isEmpty());
    // The slot keeps its number, and the session alone does not log in again.
    QCOMPARE(m_session->WorkSlotUin(1), Bot);
    QCOMPARE(m_session->lastSuccessfulLogin(1)->number, Bot);
    QCOMPARE(m_server->loginAttempts(Bot), how == QLatin1String("another client") ? 2 : 1);
}

void tst_IcqOnline::stalledLoginGivenUp_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<IcqSession::LoginFailure>("failure");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<int>("boxes");
    QTest::newRow("no login reply") << "no login reply" << IcqSession::LoginFailure::TimedOut
                                    << "Вход номера 111111 прерван: сервер не ответил вовремя." << 0;
    QTest::newRow("login server hangs up") << "hang up" << IcqSession::LoginFailure::LoginClosed
                                           << "Вход номера 111111 прерван: сервер входа закрыл соединение без ответа."
                                           << 0;
    QTest::newRow("silent session port") << "silent session" << IcqSession::LoginFailure::TimedOut
                                         << "Вход номера 111111 прерван: сервер не ответил вовремя." << 0;
    QTest::newRow("session closed after the cookie")
        << "close after cookie" << IcqSession::LoginFailure::SessionClosed
        << "Вход номера 111111 прерван: сервер закрыл соединение." << 0;
    QTest::newRow("no login server") << "no server" << IcqSession::LoginFailure::NoConnection
                                     << "Вход номера 111111 прерван: нет соединения с сервером." << 1;
}

void tst_IcqOnline::stalledLoginGivenUp()
{
    QFETCH(QString, fault);
    QFETCH(IcqSession::LoginFailure, failure);
    QFETCH(QString, logged);
    QFETCH(int, boxes);
    const quint16 loginPort = m_server->loginPort();
    const quint16 sessionPort = m_server->sessionPort();
    if (fault == QLatin1String("no login reply")) {
        m_server->setFault(OscarServer::Fault::NoLoginReply, Bot);
    } else if (fault == QLatin1String("hang up")) {
        m_server->setFault(OscarServer::Fault::NoLoginReply, Bot);
        m_server->setUnauthenticatedTimeout(100);
    } else if (fault == QLatin1String("silent session")) {
        m_server->setFault(OscarServer::Fault::SilentSession);
    } else if (fault == QLatin1String("close after cookie")) {
        m_server->setFault(OscarServer::Fault::CloseAfterCookie, Bot);
    } else {
        m_server->close();
    }
    // The time-out never runs out by itself here: a stall is given up through its handler
    // once the log-in has got as far as it can; the other faults end it as they happen.
    m_session->setLoginTimeout(10 * 60 * 1000);
    QSignalSpy failed(m_session.get(), &IcqSession::loginFailed);
    QSignalSpy signedOn(m_session.get(), &IcqSession::signedOn);
    LoginForm form(*m_session);
    QCOMPARE(form.submit(Bot, QString::fromLatin1(BotPassword), false), LoginForm::Outcome::Started);

    if (fault == QLatin1String("no login reply")) {
        QTRY_COMPARE_WITH_TIMEOUT(m_server->loginAttempts(Bot), 1, Timeout);
    } else if (fault == QLatin1String("silent session")) {
        QTRY_COMPARE_WITH_TIMEOUT(m_session->loginPhase(1), IcqSession::LoginPhase::SigningOn, Timeout);
    }
    if (failure == IcqSession::LoginFailure::TimedOut) {
        QVERIFY(m_session->loginDeadlinePending(1));
        QCOMPARE(failed.size(), 0);
        m_session->loginDeadlinePassed(1);
        QVERIFY(!m_session->loginDeadlinePending(1));
    }
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, Timeout);
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(0).toInt(), 1);
    QCOMPARE(failed.first().at(1).value<IcqSession::LoginFailure>(), failure);
    QCOMPARE(m_session->loginPhase(1), IcqSession::LoginPhase::Idle);
    QCOMPARE(lastLogEvent(), logged);
    QCOMPARE(m_dialogs->shown.size(), boxes);
    QCOMPARE(signedOn.size(), 0);
    QVERIFY(!m_session->lastSuccessfulLogin(1));
    QTRY_COMPARE_WITH_TIMEOUT(m_server->loginConnections(), 0, Timeout);

    // A later log-in on the same slot goes through once the server behaves.
    m_server->clearFaults();
    m_server->setUnauthenticatedTimeout(60000);
    if (!m_server->isListening())
        QVERIFY(m_server->listen(QHostAddress::LocalHost, loginPort, sessionPort));
    m_session->setLoginTimeout(Timeout);
    QVERIFY(logInMainBot());
    QTRY_COMPARE_WITH_TIMEOUT(signedOn.size(), 1, Timeout);
    QCOMPARE(failed.size(), 1);
}

void tst_IcqOnline::usersMessagesTakeTheirRoad()
{
    QList<MessageState> pipeline;
    MessageHooks hooks;
    hooks.processMessage = [&](MessageState &state) {
        pipeline.append(state);
        return StageOutcome::Stop;
    };
    m_session->setMessageHooks(hooks);
    QVERIFY(logInMainBot());
    OscarPeer user;
    QVERIFY(logInUser(user));

    // A command reaches the pipeline with its sender, text and slot.
    QVERIFY(user.sendText(Bot, QStringLiteral("Погода Москва")));
    QTRY_COMPARE_WITH_TIMEOUT(pipeline.size(), 1, Timeout);
    QCOMPARE(pipeline[0].SenderUin, User);
    QCOMPARE(pipeline[0].MessageText, QStringLiteral("Погода Москва"));
    QCOMPARE(pipeline[0].slot, 1);

    // The version question is answered by the bot itself.
    QVERIFY(user.sendText(Bot, QStringLiteral("!версия")));
    QTRY_COMPARE_WITH_TIMEOUT(user.receivedMessages().size(), 1, Timeout);
    QCOMPARE(user.receivedMessages()[0].from, Bot);
    QCOMPARE(user.receivedMessages()[0].text, QStringLiteral("Версия от 13.11.2008"));

    // A text ending in a character the filter refuses gets the filter's reply.
    QVERIFY(user.sendText(Bot, QStringLiteral("ещё")));
    QTRY_COMPARE_WITH_TIMEOUT(user.receivedMessages().size(), 2, Timeout);
    QCOMPARE(user.receivedMessages()[1].text, IncomingReader::RefusalText);
    QCOMPARE(pipeline.size(), 1);
}

void tst_IcqOnline::malformedSenderDropped()
{
    QList<MessageState> pipeline;
    MessageHooks hooks;
    hooks.processMessage = [&](MessageState &state) {
        pipeline.append(state);
        return StageOutcome::Stop;
    };
    m_session->setMessageHooks(hooks);
    QVERIFY(logInMainBot());

    const QRegularExpression dropped("malformed sender number dropped");
    QTest::ignoreMessage(QtWarningMsg, dropped);
    QTest::ignoreMessage(QtWarningMsg, dropped);
    QVERIFY(m_server->injectText(QStringLiteral("12/34"), Bot, QStringLiteral("help")));
    QVERIFY(m_server->injectText(QStringLiteral("1234567890123456"), Bot, QStringLiteral("!версия")));
    // A well-formed sender after them: once its message is through, theirs were read.
    QVERIFY(m_server->injectText(User, Bot, QStringLiteral("help")));
    QTRY_COMPARE_WITH_TIMEOUT(pipeline.size(), 1, Timeout);
    QCOMPARE(pipeline[0].SenderUin, User);
    QVERIFY(m_server->messagesSentBy(Bot).isEmpty());
}

void tst_IcqOnline::sendMessageDeliversCyrillic()
{
    QVERIFY(logInMainBot());
    OscarPeer user;
    QVERIFY(logInUser(user));

    const QString text = QStringLiteral("Привет, мир! Ёлка №1\r\nвторая строка");
    QVERIFY(m_session->sendMessageOn(1, text, User));
    QTRY_COMPARE_WITH_TIMEOUT(user.receivedMessages().size(), 1, Timeout);
    QCOMPARE(user.receivedMessages()[0].from, Bot);
    QCOMPARE(user.receivedMessages()[0].text, text);
    QCOMPARE(user.receivedMessages()[0].bytes, Cp1251::encode(text));
}

void tst_IcqOnline::statusOnEachSignedOnSlot()
{
    QVERIFY(logInMainBot());
    // The secondary bot of the distribution list, on its slot.
    QSignalSpy signedOn(m_session.get(), &IcqSession::signedOn);
    m_session->setMainUin(Secondary.toInt());
    m_session->setMainPassword(QString::fromUtf8(SecondaryPassword));
    const LoginForm::Server server = LoginForm::loginServer();
    m_session->startLogin(IcqSession::slotForNumber(Secondary), Secondary, server.host, server.port);
    QTRY_VERIFY_WITH_TIMEOUT(m_server->isOnline(Secondary), Timeout);
    QCOMPARE(signedOn.first().first().toInt(), 2);

    QSignalSpy changed(m_server.get(), &OscarServer::statusChanged);
    m_session->abb(2);
    QCOMPARE(m_session->CurrentStatus(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(changed.size(), 2, Timeout);
    QCOMPARE(m_server->statusOf(Bot), std::optional<quint32>(0x20030011));
    QCOMPARE(m_server->statusOf(Secondary), std::optional<quint32>(0x20030011));
}

void tst_IcqOnline::silentlyClosedSessionLeavesNoBox()
{
    QVERIFY(logInMainBot());
    QSignalSpy closed(m_server.get(), &OscarServer::sessionClosed);
    QVERIFY(m_server->closeSessionSilently(Bot));
    QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 1, Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(m_session->Work(1)->peerClosed(), Timeout);

    // Nothing is shown and the bot keeps its slot; sending on the dead slot is harmless.
    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(m_session->WorkSlotUin(1), Bot);
    m_session->sendMessageOn(1, QStringLiteral("anyone there?"), User);
    m_session->abb(3);
    QVERIFY(m_dialogs->shown.isEmpty());

    // And it can log in again on the same slot.
    QVERIFY(logInMainBot());
    QCOMPARE(m_session->slotNumbers(), QList<int>{1});
}

void tst_IcqOnline::nothingGoesOutBeforeTheSessionHello()
{
    // The session connection is up, its hello has not come: a message now would go out
    // before the bot's own hello, under a number the server takes for a break.
    m_server->setFault(OscarServer::Fault::SilentSession);
    m_session->setLoginTimeout(10 * 60 * 1000);
    LoginForm form(*m_session);
    QCOMPARE(form.submit(Bot, QString::fromLatin1(BotPassword), false), LoginForm::Outcome::Started);
    QTRY_VERIFY_WITH_TIMEOUT(
        m_session->Work(1) && m_session->Work(1)->State() == SocketControl::StateConnected, Timeout);
    const qint32 before = m_session->SlotSequence(1);
    QVERIFY(!m_session->sendMessageOn(1, QStringLiteral("too early"), User));
    QCOMPARE(m_session->SlotSequence(1), before);

    // Once the server behaves, the next log-in goes through with nothing out of order.
    m_session->closeSlot(1);
    m_server->clearFaults();
    QVERIFY(logInMainBot());
    QTRY_VERIFY_WITH_TIMEOUT(m_session->isSignedOn(1), Timeout);
    QVERIFY(m_session->sendMessageOn(1, QStringLiteral("in time"), User));
}

QTEST_MAIN(tst_IcqOnline)
#include "tst_icqonline.moc"
