#include "support/onlinebot.h"

#include "core/cp1251.h"

#include <QHostAddress>
#include <QTest>

QStringList textsSent(const OscarServer &server, const QString &from, const QString &to)
{
    QStringList texts;
    const QList<RoutedMessage> messages = server.messagesSentBy(from);
    for (const RoutedMessage &message : messages) {
        if (message.to == to)
            texts.append(Cp1251::decode(message.text));
    }
    return texts;
}

OnlineBot::OnlineBot(const QString &uin, const QByteArray &password)
    : m_uin(uin)
    , m_password(password)
    , m_server(std::make_unique<OscarServer>())
{
    m_server->addAccount(m_uin, m_password);
    m_server->listen(QHostAddress::LocalHost);
    m_session = std::make_unique<IcqSession>();
}

bool OnlineBot::logIn()
{
    m_session->setMainUin(m_uin.toInt());
    m_session->setMainPassword(QString::fromLatin1(m_password));
    m_session->startLogin(1, m_uin, QStringLiteral("127.0.0.1"), m_server->loginPort());
    return QTest::qWaitFor([this] { return m_server->isOnline(m_uin); }, m_timeoutMs);
}

QStringList OnlineBot::sentTo(const QString &uin) const
{
    return textsSent(*m_server, m_uin, uin);
}

QString OnlineBot::ask(const QString &from, const QString &text)
{
    const qsizetype before = sentTo(from).size();
    if (!m_server->injectText(from, m_uin, text))
        return QStringLiteral("<not injected>");
    if (!QTest::qWaitFor([&] { return sentTo(from).size() > before; }, m_timeoutMs))
        return QStringLiteral("<no answer>");
    return sentTo(from).constLast();
}
