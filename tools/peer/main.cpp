// korvane-peer: logs in as an ICQ user, sends one text and prints what comes back.
#include "core/cp1251.h"
#include "tools/peer/oscarpeer.h"
#include "tools/wire/terminationsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

namespace {

enum ExitCode { Done = 0, Usage = 1, Refused = 2, ConnectionTrouble = 3 };

// Long enough for a loaded machine; a server that has not signed us on by then is gone.
constexpr int SignOnTimeoutMs = 30000;

void say(FILE *stream, const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvane-peer"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Logs in to an OSCAR server as an ICQ user, sends one text and prints every message it "
        "receives as \"<from>: <text>\"."));
    parser.addHelpOption();
    const QCommandLineOption serverOption(QStringLiteral("server"), QStringLiteral("Login server host."),
                                          QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Login server port."),
                                        QStringLiteral("port"));
    const QCommandLineOption uinOption(QStringLiteral("uin"), QStringLiteral("The number to log in as."),
                                       QStringLiteral("uin"));
    const QCommandLineOption passwordOption(QStringLiteral("password"), QStringLiteral("Its password."),
                                            QStringLiteral("password"));
    const QCommandLineOption toOption(QStringLiteral("to"), QStringLiteral("Number to send the text to."),
                                      QStringLiteral("uin"));
    const QCommandLineOption textOption(QStringLiteral("text"), QStringLiteral("The text to send."),
                                        QStringLiteral("text"));
    const QCommandLineOption waitOption(
        QStringLiteral("wait"), QStringLiteral("Seconds to stay online and print messages (default 0)."),
        QStringLiteral("seconds"), QStringLiteral("0"));
    parser.addOptions(
        {serverOption, portOption, uinOption, passwordOption, toOption, textOption, waitOption});
    parser.process(app);

    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    bool waitOk = false;
    const double waitSeconds = parser.value(waitOption).toDouble(&waitOk);
    QString problem;
    if (!portOk || port == 0 || port > 0xFFFF)
        problem = QStringLiteral("--port needs a port number");
    else if (parser.value(uinOption).isEmpty() || !parser.isSet(passwordOption))
        problem = QStringLiteral("--uin and --password are required");
    else if (parser.isSet(toOption) != parser.isSet(textOption))
        problem = QStringLiteral("--to and --text go together");
    else if (!waitOk || waitSeconds < 0 || waitSeconds > 86400)
        problem = QStringLiteral("--wait needs a number of seconds");
    if (!problem.isEmpty()) {
        say(stderr, QStringLiteral("korvane-peer: %1 (see --help)").arg(problem));
        return Usage;
    }

    OscarPeer peer;
    TerminationSignals termination;
    QTimer signOnTimeout;
    QTimer waitTimer;
    signOnTimeout.setSingleShot(true);
    waitTimer.setSingleShot(true);
    int exitCode = Done;

    const auto finish = [&](int code) {
        exitCode = code;
        signOnTimeout.stop();
        waitTimer.stop();
        if (peer.state() == OscarPeer::State::Online || peer.state() == OscarPeer::State::SigningOn)
            peer.logOut(); // closed() ends the program once the goodbye is out
        else
            QCoreApplication::exit(exitCode);
    };

    QObject::connect(&peer, &OscarPeer::loginRefused, &app, [&](quint16) {
        say(stderr, QStringLiteral("korvane-peer: %1").arg(peer.errorString()));
        QCoreApplication::exit(Refused);
    });
    QObject::connect(&peer, &OscarPeer::failed, &app, [&](const QString &reason) {
        say(stderr, QStringLiteral("korvane-peer: %1").arg(reason));
        QCoreApplication::exit(ConnectionTrouble);
    });
    QObject::connect(&peer, &OscarPeer::closed, &app, [&] {
        if (waitTimer.isActive()) {
            say(stderr, QStringLiteral("korvane-peer: %1").arg(peer.errorString()));
            exitCode = ConnectionTrouble;
        }
        QCoreApplication::exit(exitCode);
    });
    QObject::connect(&peer, &OscarPeer::messageReceived, &app, [](const QString &from, const QString &text) {
        say(stdout, from + QStringLiteral(": ") + text);
    });
    QObject::connect(&peer, &OscarPeer::signedOn, &app, [&] {
        signOnTimeout.stop();
        say(stderr, QStringLiteral("korvane-peer: signed on as %1").arg(peer.uin()));
        if (parser.isSet(toOption) && !peer.sendText(parser.value(toOption), parser.value(textOption))) {
            say(stderr, QStringLiteral("korvane-peer: the text is too long to send"));
            finish(Usage);
            return;
        }
        waitTimer.start(int(waitSeconds * 1000));
    });
    QObject::connect(&waitTimer, &QTimer::timeout, &app, [&] { finish(Done); });
    QObject::connect(&signOnTimeout, &QTimer::timeout, &app, [&] {
        say(stderr, QStringLiteral("korvane-peer: no sign-on within %1 seconds").arg(SignOnTimeoutMs / 1000));
        peer.abort();
        QCoreApplication::exit(ConnectionTrouble);
    });
    QObject::connect(&termination, &TerminationSignals::received, &app, [&](int) { finish(Done); });

    const QByteArray password = Cp1251::encode(parser.value(passwordOption));
    peer.logIn(parser.value(serverOption), quint16(port), parser.value(uinOption), password);
    signOnTimeout.start(SignOnTimeoutMs);
    return app.exec();
}
