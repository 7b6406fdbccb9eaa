#include "session/loginform.h"

#include "core/cp1251.h"
#include "core/generalsettings.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "session/icqsession.h"
#include "session/loginexchange.h"


namespace {

// The value of the leading digits ("5190 " is 5190); nullopt without digits or beyond a port.
std::optional<quint16> portFromText(const QString &text)
{
    const QString value = text.trimmed();
    quint32 port = 0;
    qsizetype digits = 0;
    for (const QChar c : value) {
        if (c < u'0' || c > u'9')
            break;
        port = port * 10 + quint32(c.unicode() - u'0');
        if (port > 0xFFFF)
            return std::nullopt;
        ++digits;
    }
    if (digits == 0 || port == 0)
        return std::nullopt;
    return quint16(port);
}

} // namespace

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
        TextFile::writeLines(RememberedLoginFile, {number, password}, TextFile::Option::OwnerOnly);
    // Passwords of any length: the login packet roasts them cyclically, like every log-in.
    m_session.startLogin(m_slot, Credentials{number, password}, loginServer());
    return Outcome::Started;
}

std::optional<LoginForm::Credentials> LoginForm::rememberedLogin() const
{
    const QStringList remembered = TextFile::readLines(RememberedLoginFile);
    if (remembered.size() >= 2 && !remembered.at(0).isEmpty() && !remembered.at(1).isEmpty())
        return Credentials{remembered.at(0), remembered.at(1)};

    const QStringList stored = TextFile::readLines(StoredLoginFile);
    if (stored.isEmpty() || !VbValues::holdsNumber(stored.at(0), 1))
        return std::nullopt;
    const std::optional<qint32> uin = decodeStoredNumber(stored.value(1));
    if (!uin)
        return std::nullopt;
    return Credentials{QString::number(*uin), decodeStoredPassword(stored.value(2))};
}

LoginForm::Server LoginForm::loginServer()
{
    const QString settings = GeneralSettings::ReadText();
    Server server;
    const std::optional<QString> host = GeneralSettings::LookupByLine(settings, GeneralSettings::Key::Server);
    if (host && !host->isEmpty())
        server.host = *host;
    else
        server.host = Addresses::value(LoginServerKey).value_or(FallbackLoginHost);
    if (const std::optional<QString> port =
            GeneralSettings::LookupByLine(settings, GeneralSettings::Key::Port))
        server.port = portFromText(*port).value_or(LoginExchange::DefaultPort);
    return server;
}

bool LoginForm::distributionListEmpty()
{
    return TextFile::readAll(DistributionListFile).isEmpty();
}

std::optional<qint32> LoginForm::numberFromText(const QString &text)
{
    return Credentials::uinFromText(text);
}

std::optional<qint32> LoginForm::decodeStoredNumber(const QString &text)
{
    const std::optional<double> scrambled = VbValues::toNumber(text);
    if (!scrambled)
        return std::nullopt;
    qint32 uin = 0;
    if (!VbValues::toInt32((*scrambled * 50 - 10) * 3 / 23, uin))
        return std::nullopt;
    return uin;
}

QString LoginForm::decodeStoredPassword(const QString &text)
{
    // Groups of four digits: the character's code plus 1 at odd places, plus 2 at even ones.
    QString password;
    for (qsizetype k = 1; 4 * k <= text.size(); ++k) {
        const std::optional<double> group = VbValues::toNumber(text.mid(4 * (k - 1), 4));
        if (!group)
            continue;
        const double code = *group - (k % 2 ? 1 : 2);
        if (code < 0 || code > 255 || code != qint64(code))
            continue;
        password += Cp1251::toChar(quint8(code));
    }
    return password;
}
