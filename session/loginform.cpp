#include "session/loginform.h"

#include "core/cp1251.h"
#include "core/generalsettings.h"
#include "core/textfile.h"
#include "files/distributionlist.h"
#include "files/storedlogin.h"
#include "session/icqsession.h"
#include "session/loginexchange.h"

LoginForm::LoginForm(IcqSession &session)
    : m_session(session)
{}

LoginForm::Outcome LoginForm::submit(const QString &number, const QString &password, bool remember)
{
    if (distributionListEmpty())
        return Outcome::NoDistributionList;
    const std::optional<qint32> uin = numberFromText(number);
    if (!uin)
        return Outcome::BadNumber;
    if (Cp1251::encode(password).size() > LoginExchange::MaxPasswordBytes)
        return Outcome::PasswordTooLong;

    m_session.setMainUin(*uin);
    m_session.setMainPassword(password);
    m_slot = IcqSession::slotForNumber(number);
    if (remember)
        RememberedLogin::write(number, password);
    const Server server = loginServer();
    m_session.startLogin(m_slot, number, server.host, server.port);
    return Outcome::Started;
}

std::optional<LoginForm::Credentials> LoginForm::rememberedLogin()
{
    if (const std::optional<RememberedLogin::Boxes> remembered = RememberedLogin::read())
        return Credentials{remembered->number, remembered->password};

    const std::optional<StoredLogin::FileLogin> stored = StoredLogin::readFile();
    if (!stored)
        return std::nullopt;
    if (stored->uin)
        m_session.setMainUin(*stored->uin);
    m_session.setMainPassword(stored->password);
    return Credentials{QString::number(m_session.MainUin()), m_session.MainPassword()};
}

LoginForm::Server LoginForm::loginServer()
{
    const Settings settings = Settings::read();
    Server server;
    server.host = settings.server();
    if (server.host.isEmpty())
        server.host = Addresses::value(LoginServerKey).value_or(FallbackLoginHost);
    server.port = settings.port();
    return server;
}

bool LoginForm::distributionListEmpty()
{
    return DistributionList::isEmpty();
}

std::optional<qint32> LoginForm::numberFromText(const QString &text)
{
    return DistributionList::loginNumber(text);
}
