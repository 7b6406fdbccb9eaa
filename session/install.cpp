#include "session/install.h"

#include "platform/windowhost.h"
#include "session/login_window.h"

void installSessionWindows(WindowHost &windows, IcqSession &session, std::function<void()> showDistributionPage)
{
    windows.addWindow(QStringLiteral("fMain"), QStringLiteral("Вход"), WindowHost::Placement::Child,
                      [&session, showDistributionPage](QWidget *parent) -> QWidget * {
                          auto *login = new fMain(session, parent);
                          if (showDistributionPage)
                              QObject::connect(login, &fMain::distributionPageRequested, login,
                                               showDistributionPage);
                          return login;
                      });
}
