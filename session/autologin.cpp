#include "session/autologin.h"

#include "session/icqsession.h"
#include "session/loginform.h"

namespace AutoLogin {

int vhod_auto(IcqSession &session, const ::Credentials &credentials)
{
    // The same server the button uses, so both log-ins reach the same place.
    const int slot = IcqSession::slotForNumber(credentials.number);
    session.startLogin(slot, credentials, LoginForm::loginServer());
    return slot;
}

} // namespace AutoLogin
