#include "mainwindow/botapplication.h"

#include "chat/install.h"
#include "chat/chatservice.h"
#include "chatwindows/install.h"
#include "commandwindows/install.h"
#include "core/storage.h"
#include "engine/answerengine.h"
#include "engine/install.h"
#include "mainwindow/connectioncommands.h"
#include "mainwindow/exitsequence.h"
#include "mainwindow/main_window.h"
#include "mainwindow/multibot.h"
#include "mainwindow/statuscommands.h"
#include "mainwindow/webmenus.h"
#include "moderation/install.h"
#include "platform/dialogs.h"
#include "recordwindows/install.h"
#include "session/icqsession.h"
#include "session/postlogin.h"
#include "session/install.h"
#include "session/watchdog.h"
#include "settings/install.h"

BotApplication::BotApplication(QObject *parent)
    : QObject(parent)
    , m_session(std::make_unique<IcqSession>())
    , m_mainWindow(std::make_unique<MDIForm1>())
    , m_startup(std::make_unique<StartupSequence>(*m_mainWindow, *m_session, m_state))
    , m_exit(std::make_unique<ExitSequence>(*m_mainWindow, *m_session, m_state))
{
    // A file the disk refuses is told once, without stopping the bot.
    Storage::setReporter([](Storage::Problem problem, const QString &path, const QString &error) {
        const QString text = Storage::problemMessage(problem, path, error);
        qWarning("%s", qPrintable(text));
        Dialogs::instance().notify(QString(), text, Dialogs::Icon::Warning, QStringLiteral("storage ") + path);
    });

    MDIForm1 &window = *m_mainWindow;
    MessageHooks hooks;
    installSettingsWindows(window);
    installCommandWindows(window, &window);
    installSessionWindows(window, *m_session, [&window] { showDistributionPage(window); });
    m_engine = installEngine(window.timers(), *m_session, hooks);
    m_multiBot = installMultiBot(*m_session, window, m_state, *m_engine->engine, hooks);
    m_chat = installChat(window.timers(), *m_session);
    {
        EngineHooks stages = m_engine->engine->hooks();
        stages.handleChatMessage = m_chat->stage;
        m_engine->engine->setHooks(stages);
        m_startup->hooks().cleanUpChat = m_chat->cleanUpPerRun;
        m_startup->hooks().restoreChat = m_chat->restorePerRun;
        connect(m_exit.get(), &ExitSequence::started, this, [this] {
            if (m_chat)
                m_chat->cleanUpPerRun();
        });
        ChatService *chat = m_chat->service.get();
        connect(&m_multiBot->watchdog(), &ReconnectWatchdog::reloggingIn, chat,
                [chat] { chat->setNotifyChatAfterLogin(true); });
        connect(&m_multiBot->connectionCommands(), &ConnectionCommands::chatMembersCleared, chat,
                &ChatService::noteDisconnected);
        installChatWindows(window, *chat, window.timers(), &window);
    }
    m_moderation = installModeration(window.timers(), *m_chat->service, *m_session);
    m_webMenus = installWebMenus(window, *m_startup, *m_multiBot);
    installRecordsWindows(window, RecordsContext{*m_session, *m_engine->engine, &window,
                                                  [multiBot = m_multiBot.get()](int code) {
                                                      multiBot->statusCommands().setStatus(code);
                                                  }});
    m_session->setMessageHooks(hooks);
}

BotApplication::~BotApplication()
{
    // Windows go first: the login window refers to the session.
    m_session->setMessageHooks({});
    m_engine.reset();
    m_moderation.reset();
    m_chat.reset();
    m_multiBot.reset();
    m_exit.reset();
    m_startup.reset();
    m_mainWindow.reset();
    m_session->closeAll();
}

AnswerEngine &BotApplication::engine() const
{
    return *m_engine->engine;
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
        engine().setBotMode(m_state.BotMode);
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
