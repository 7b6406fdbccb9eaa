#include "mainwindow/botapplication.h"

#include "mainwindow/main_window.h"
#include "session/icqsession.h"
#include "session/loginwindow.h"

BotApplication::BotApplication(QObject *parent)
    : QObject(parent)
    , m_session(std::make_unique<IcqSession>())
    , m_mainWindow(std::make_unique<MDIForm1>())
{
    registerWindows();
}

BotApplication::~BotApplication()
{
    // Windows go first: the login window refers to the session.
    m_mainWindow.reset();
    m_session->closeAll();
}

void BotApplication::registerWindows()
{
    IcqSession *session = m_session.get();
    m_mainWindow->roster().addWindow(QStringLiteral("fMain"), QStringLiteral("Вход"),
                                     WindowRoster::Placement::Child, [this, session](QWidget *parent) {
                                         auto *login = new fMain(*session, parent);
                                         connect(login, &fMain::distributionPageRequested, this, [this] {
                                             m_mainWindow->showWindow(QStringLiteral("Form1"));
                                         });
                                         return login;
                                     });
}

void BotApplication::start()
{
    m_mainWindow->show();
    m_mainWindow->showWindow(QStringLiteral("fMain"));
}
