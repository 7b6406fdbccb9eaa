// korvane-oscar-server: the local OSCAR login and session server as a program.
#include "core/cp1251.h"
#include "tools/server/oscarserver.h"
#include "tools/wire/terminationsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

void say(FILE *stream, const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

bool readPort(const QString &text, quint16 *port)
{
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value > 0xFFFF)
        return false;
    *port = quint16(value);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvane-oscar-server"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A local OSCAR login and session server: logs accounts in and carries ICQ messages between "
        "them. Prints the ports it listens on, then one line per event, until SIGINT or SIGTERM."));
    parser.addHelpOption();
    const QCommandLineOption loginPortOption(QStringLiteral("login-port"),
                                             QStringLiteral("Login port (0 picks a free one)."),
                                             QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption sessionPortOption(QStringLiteral("session-port"),
                                               QStringLiteral("Session port (0 picks a free one)."),
                                               QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption accountsOption(
        QStringLiteral("accounts"), QStringLiteral("File of accounts, one \"uin password\" per line."),
        QStringLiteral("file"));
    const QCommandLineOption hostOption(QStringLiteral("host"), QStringLiteral("IPv4 address to listen on."),
                                        QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption faultOption(
        QStringLiteral("fault"),
        QStringLiteral("Misbehave, for checks of a client's time-outs: no-login-reply, silent-session, "
                       "close-after-cookie or keep-refused-open, optionally followed by \":uin\" for one "
                       "number only. May be given more than once."),
        QStringLiteral("fault"));
    parser.addOptions({loginPortOption, sessionPortOption, accountsOption, hostOption, faultOption});
    parser.process(app);

    quint16 loginPort = 0;
    quint16 sessionPort = 0;
    const QHostAddress host(parser.value(hostOption));
    if (!readPort(parser.value(loginPortOption), &loginPort) ||
        !readPort(parser.value(sessionPortOption), &sessionPort)) {
        say(stderr, QStringLiteral("korvane-oscar-server: ports are numbers from 0 to 65535"));
        return 1;
    }
    if (host.isNull() || host.protocol() != QAbstractSocket::IPv4Protocol) {
        say(stderr, QStringLiteral("korvane-oscar-server: --host needs an IPv4 address"));
        return 1;
    }
    if (!parser.isSet(accountsOption)) {
        say(stderr, QStringLiteral("korvane-oscar-server: --accounts is required (see --help)"));
        return 1;
    }

    OscarServer server;
    server.setRecordFrames(false);
    for (const QString &fault : parser.values(faultOption)) {
        const QString name = fault.section(QLatin1Char(':'), 0, 0);
        const QString uin = fault.section(QLatin1Char(':'), 1);
        static const QHash<QString, OscarServer::Fault> faults = {
            {QStringLiteral("no-login-reply"), OscarServer::Fault::NoLoginReply},
            {QStringLiteral("silent-session"), OscarServer::Fault::SilentSession},
            {QStringLiteral("close-after-cookie"), OscarServer::Fault::CloseAfterCookie},
            {QStringLiteral("keep-refused-open"), OscarServer::Fault::KeepRefusedLoginOpen},
        };
        if (!faults.contains(name)) {
            say(stderr, QStringLiteral("korvane-oscar-server: unknown fault %1 (see --help)").arg(name));
            return 1;
        }
        server.setFault(faults.value(name), uin);
    }
    QString error;
    if (!server.loadAccounts(parser.value(accountsOption), &error)) {
        say(stderr, QStringLiteral("korvane-oscar-server: %1").arg(error));
        return 1;
    }
    if (!server.listen(host, loginPort, sessionPort)) {
        say(stderr, QStringLiteral("korvane-oscar-server: cannot listen: %1").arg(server.errorString()));
        return 1;
    }
    say(stdout, QStringLiteral("login-port %1").arg(server.loginPort()));
    say(stdout, QStringLiteral("session-port %1").arg(server.sessionPort()));

    QObject::connect(&server, &OscarServer::loggedIn, &app,
                     [](const QString &uin) { say(stdout, QStringLiteral("logged in %1").arg(uin)); });
    QObject::connect(&server, &OscarServer::loginRefused, &app, [](const QString &uin, quint16 code) {
        say(stdout,
            QStringLiteral("refused %1 (error code 0x%2)").arg(uin).arg(code, 4, 16, QLatin1Char('0')));
    });
    QObject::connect(&server, &OscarServer::signedOn, &app,
                     [](const QString &uin) { say(stdout, QStringLiteral("online %1").arg(uin)); });
    QObject::connect(&server, &OscarServer::sessionClosed, &app,
                     [](const QString &uin) { say(stdout, QStringLiteral("offline %1").arg(uin)); });
    QObject::connect(&server, &OscarServer::statusChanged, &app, [](const QString &uin, quint32 status) {
        say(stdout, QStringLiteral("status %1 0x%2").arg(uin).arg(status, 8, 16, QLatin1Char('0')));
    });
    QObject::connect(&server, &OscarServer::messageRouted, &app,
                     [](const QString &from, const QString &to, const QByteArray &text) {
                         say(stdout,
                             QStringLiteral("message %1 -> %2: %3").arg(from, to, Cp1251::decode(text)));
                     });

    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, [] { QCoreApplication::quit(); });
    return app.exec();
}
