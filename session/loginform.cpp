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
    if (!numberFromText(number))
        return Outcome::BadNumber;

    m_slot = IcqSession::slotForNumber(number);
    if (remember)
        RememberedLogin::write(number, password);
    // Passwords of any length: the login packet roasts them cyclically, like every log-in.
    m_session.startLogin(m_slot, Credentials{number, password}, loginServer());
    return Outcome::Started;
}

std::optional<LoginForm::Credentials> LoginForm::rememberedLogin() const
{
    if (const std::optional<RememberedLogin::Boxes> remembered = RememberedLogin::read())
        return Credentials{remembered->number, remembered->password};

    const std::optional<StoredLogin::FileLogin> stored = StoredLogin::readFile();
    if (!stored)
        return std::nullopt;
    // Showing the login never changes the session's own login.
    if (!stored->uin)
        return std::nullopt;
    return Credentials{QString::number(*stored->uin), stored->password};
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
    return Credentials::uinFromText(text);
}
