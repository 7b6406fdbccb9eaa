#include "mainwindow/botapplication.h"

#include "commandwindows/install.h"
#include "core/namedtimer.h"
#include "core/storage.h"
#include "engine/answerengine.h"
#include "engine/messagepopupwindow.h"
#include "engine/services.h"
#include "engine/sessionhooks.h"
#include "engine/webservices.h"
#include "mainwindow/exitsequence.h"
#include "mainwindow/main_window.h"
#include "mainwindow/multibot.h"
#include "mainwindow/statuscommands.h"
#include "mainwindow/webmenus.h"
#include "platform/dialogs.h"
#include "session/icqsession.h"
#include "session/loginwindow.h"
#include "session/postlogin.h"
#include "session/watchdog.h"
#include "settings/agreement_window.h"
#include "settings/settings_window.h"

BotApplication::BotApplication(QObject *parent)
    : QObject(parent)
    , m_session(std::make_unique<IcqSession>())
    , m_mainWindow(std::make_unique<MDIForm1>())
    , m_startup(std::make_unique<StartupSequence>(*m_mainWindow, *m_session, m_state))
    , m_exit(std::make_unique<ExitSequence>(*m_mainWindow, *m_session, m_state))
    , m_multiBot(std::make_unique<MultiBot>(*m_session, *m_mainWindow))
    , m_popup(std::make_unique<Form20>())
{
    // A file the disk refuses is told once, without stopping the bot.
    Storage::setReporter([](Storage::Problem problem, const QString &path, const QString &error) {
        const QString text = Storage::problemMessage(problem, path, error);
        qWarning("%s", qPrintable(text));
        Dialogs::instance().notify(QString(), text, Dialogs::Icon::Warning, QStringLiteral("storage ") + path);
    });
    registerWindows();
    wireEngine();
    wireMultiBot();
    wireWebMenus();
}

BotApplication::~BotApplication()
{
    // Windows go first: the login window refers to the session.
    m_session->setMessageHooks({});
    m_engine.reset();
    m_webServices.reset();
    m_popup.reset();
    m_multiBot.reset();
    m_exit.reset();
    m_startup.reset();
    m_mainWindow.reset();
    m_session->closeAll();
}

void BotApplication::registerWindows()
{
    m_mainWindow->roster().registerFactory(QStringLiteral("Form1"),
                                           [](QWidget *parent) -> QWidget * { return new Form1(parent); });
    m_mainWindow->roster().registerFactory(QStringLiteral("Form48"),
                                           [](QWidget *parent) -> QWidget * { return new Form48(parent); });
    installCommandWindows(
        m_mainWindow->roster(), [w = m_mainWindow.get()](const QString &name) { return w->showWindow(name); },
        m_mainWindow.get());
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
    if (!m_state.BotMode.isEmpty()) {
        m_multiBot->statusCommands().setBotMode(m_state.BotMode);
        m_engine->setBotMode(m_state.BotMode);
    }
    if (outcome == StartupSequence::Outcome::Unreadable) {
        // The box has told which file; the program cannot go on without it. Queued: the
        // main loop may not run yet.
        QMetaObject::invokeMethod(this, [this] { m_exit->endProgram(); }, Qt::QueuedConnection);
        return outcome;
    }
    if (outcome != StartupSequence::Outcome::AgreementShown)
        start();
    return outcome;
}

void BotApplication::wireMultiBot()
{
    MessageHooks hooks;
    m_multiBot->addHooks(hooks);
    addEngineHooks(hooks, *m_engine);
    m_session->setMessageHooks(hooks);
    m_multiBot->watchdog().setAgreementCheck([this] { return m_state.AgreementAccepted == 1; });
    connect(&m_multiBot->statusCommands(), &StatusCommands::botModeChanged, this,
            [this](const QString &mode) {
                m_state.BotMode = mode;
                m_engine->setBotMode(mode);
            });
    connect(&m_multiBot->watchdog(), &ReconnectWatchdog::distributionPageRequested, this,
            [this] { StartupSequence::showDistributionPage(*m_mainWindow); });
}

void BotApplication::wireEngine()
{
    IcqSession *session = m_session.get();
    const SendFunction send = [session](int slot, const QString &txt, const QString &toUin) {
        return session->sendMessageOn(slot, txt, toUin);
    };
    m_engine = std::make_unique<AnswerEngine>(*m_mainWindow->timers().timer(QStringLiteral("Timer1")), send);

    EngineHooks hooks;
    ServiceContext services;
    services.send = send;
    services.timers = &m_mainWindow->timers();
    services.popup = m_popup.get();
    installServiceHooks(hooks, services);

    WebContext web;
    web.send = send;
    web.queueAnswer = [this](int slot, const QString &toUin, const QString &text) {
        m_engine->queueAnswer(slot, toUin, text);
    };
    m_webServices = std::make_unique<WebServices>(web);
    installWebHooks(hooks, *m_webServices);
    m_engine->setHooks(hooks);
}

void BotApplication::wireWebMenus()
{
    WebMenus *webMenus = installWebMenus(*m_mainWindow);
    m_webMenus = webMenus;
    m_startup->hooks().checkForUpdate = [webMenus] { webMenus->checkForUpdateAtStartup(); };
    m_startup->hooks().hideToTray = [webMenus] { webMenus->startInTray(); };
    m_multiBot->setHideMainWindow([webMenus] { webMenus->hideToTray(); });
}
