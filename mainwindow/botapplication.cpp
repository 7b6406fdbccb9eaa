#include "mainwindow/botapplication.h"

#include "mainwindow/exitsequence.h"
#include "mainwindow/main_window.h"
#include "mainwindow/multibot.h"
#include "mainwindow/statuscommands.h"
#include "session/icqsession.h"
#include "session/loginwindow.h"
#include "session/postlogin.h"
#include "session/watchdog.h"

BotApplication::BotApplication(QObject *parent)
    : QObject(parent)
    , m_session(std::make_unique<IcqSession>())
    , m_mainWindow(std::make_unique<MDIForm1>())
    , m_startup(std::make_unique<StartupSequence>(*m_mainWindow, *m_session, m_state))
    , m_exit(std::make_unique<ExitSequence>(*m_mainWindow, *m_session, m_state))
    , m_multiBot(std::make_unique<MultiBot>(*m_session, *m_mainWindow))
{
    registerWindows();
    wireMultiBot();
}

BotApplication::~BotApplication()
{
    // Windows go first: the login window refers to the session.
    m_multiBot.reset();
    m_exit.reset();
    m_startup.reset();
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
                                             StartupSequence::showDistributionPage(*m_mainWindow);
                                         });
                                         return login;
                                     });
}

void BotApplication::start()
{
    m_mainWindow->show();
    m_mainWindow->showWindow(QStringLiteral("fMain"));
}

StartupSequence::Outcome BotApplication::run()
{
    const StartupSequence::Outcome outcome = m_startup->run();
    // What the start-up restored; the stored login's sign-on is still to come.
    m_multiBot->watchdog().setReconnectInterval(m_state.ReconnectInterval);
    m_multiBot->postLogin().setHideAfterLogin(m_state.HideAfterLogin);
    if (!m_state.BotMode.isEmpty())
        m_multiBot->statusCommands().setBotMode(m_state.BotMode);
    if (outcome != StartupSequence::Outcome::AgreementShown)
        start();
    return outcome;
}

void BotApplication::wireMultiBot()
{
    MessageHooks hooks;
    m_multiBot->addHooks(hooks);
    m_session->setMessageHooks(hooks);
    m_multiBot->watchdog().setAgreementCheck([this] { return m_state.AgreementAccepted == 1; });
    connect(&m_multiBot->statusCommands(), &StatusCommands::botModeChanged, this,
            [this](const QString &mode) { m_state.BotMode = mode; });
    connect(&m_multiBot->watchdog(), &ReconnectWatchdog::distributionPageRequested, this,
            [this] { StartupSequence::showDistributionPage(*m_mainWindow); });
}
