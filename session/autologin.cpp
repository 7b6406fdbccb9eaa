#include "session/autologin.h"

#include "core/generalsettings.h"
#include "session/icqsession.h"
#include "session/loginform.h"

namespace AutoLogin {

std::optional<Credentials> decode(const QString &scrambledNumber, const QString &scrambledPassword)
{
    const std::optional<qint32> uin = LoginForm::decodeStoredNumber(scrambledNumber);
    if (!uin)
        return std::nullopt;
    return Credentials{*uin, LoginForm::decodeStoredPassword(scrambledPassword)};
}

std::optional<Credentials> readStored()
{
    const QString text = GeneralSettings::ReadText();
    const std::optional<QString> number =
        GeneralSettings::LookupByLine(text, GeneralSettings::Key::AutoICQNumber);
    if (!number)
        return std::nullopt;
    return decode(
        *number, GeneralSettings::LookupByLine(text, GeneralSettings::Key::AutoPassword).value_or(QString()));
}

int vhod_auto(IcqSession &session, const ::Credentials &credentials)
{
    // The same server the button uses, so both log-ins reach the same place.
    const int slot = IcqSession::slotForNumber(credentials.number);
    session.startLogin(slot, credentials, LoginForm::loginServer());
    return slot;
}

} // namespace AutoLogin
