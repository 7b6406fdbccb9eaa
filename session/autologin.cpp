#include "session/autologin.h"

#include "session/icqsession.h"
#include "session/loginform.h"

namespace AutoLogin {

int vhod_auto(IcqSession &session, const QString &numberText)
{
    // The same server the button uses, so both log-ins reach the same place.
    const LoginForm::Server server = LoginForm::loginServer();
    const int slot = IcqSession::slotForNumber(numberText);
    session.startLogin(slot, numberText, server.host, server.port);
    return slot;
}

} // namespace AutoLogin
