#include "mainwindow/multibot.h"

#include "core/namedtimer.h"
#include "engine/answerengine.h"
#include "mainwindow/connectioncommands.h"
#include "mainwindow/main_window.h"
#include "mainwindow/startup.h"
#include "mainwindow/statuscommands.h"
#include "session/botpresence.h"
#include "session/distribution.h"
#include "session/icqsession.h"
#include "session/loginform.h"
#include "session/login_window.h"
#include "session/postlogin.h"
#include "session/savedstatus.h"
#include "session/secondarylogin.h"
#include "session/watchdog.h"
#include "settings/install.h"

MultiBot::MultiBot(IcqSession &session, MDIForm1 &window, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_window(window)
{
    m_presence = std::make_unique<BotPresence>(session);
    const BotPresence *presence = m_presence.get();
    m_distribution = std::make_unique<BotDistribution>(
        [&session](int slot, const QString &text, const QString &toUin) {
            session.sendMessageOn(slot, text, toUin);
        },
        [presence](int slot) { return presence->isSignedOn(slot); });

    m_statusCommands = std::make_unique<StatusCommands>(window, session);
    m_connectionCommands = std::make_unique<ConnectionCommands>(window, session, [this] {
        m_secondaryLogin->stop();
        m_watchdog->suspend();
    });

    PostLoginView view;
    view.hideLoginWindow = [this] { hideLoginWindow(); };
    view.showConnected = [this] { m_connectionCommands->showConnected(true); };
    view.setStatusText = [&window](const QString &text) { window.setStatusText(text); };
    view.mainSignedOn = [&session] { return session.isSignedOn(1); };
    view.hideWindows = [this, &window] {
        hideLoginWindow();
        if (m_hideMainWindow)
            m_hideMainWindow();
        else
            window.hide();
    };
    m_postLogin = std::make_unique<PostLoginActions>(window.timers(), view);

    const auto autoLogin = [this](int slot, const Credentials &credentials) {
        if (m_autoLogin)
            m_autoLogin(slot, credentials);
        else
            startAutoLogin(slot, credentials);
    };
    m_secondaryLogin = std::make_unique<SecondaryLogin>(
        window.timers(), *m_presence,
        [autoLogin](int slot, const QString &number, const QString &password) {
            autoLogin(slot, Credentials{number, password});
        },
        [this](int slot) { m_session.closeSlot(slot); });

    m_watchdog = std::make_unique<ReconnectWatchdog>(session, *m_presence, window.timers());
    m_watchdog->setReconnectInterval(ReconnectWatchdog::intervalFromSettings());
    m_watchdog->setRelogin(autoLogin);
    // Every re-login of a bot that went down keeps to the watchdog's back-off.
    m_secondaryLogin->setHoldBack([this](int slot) { return m_watchdog->holdsBack(slot); });
    connect(m_watchdog.get(), &ReconnectWatchdog::connectionLost, this, &MultiBot::showMainBotGone);

    m_savedStatus = std::make_unique<SavedStatus>(session, window.timers(),
                                                  [this](int code) { m_statusCommands->showStatus(code); });

    TimerRegistry &timers = window.timers();
    timers.attach(QStringLiteral("rasperd"), [this] { m_secondaryLogin->rasperdTick(); });
    timers.attach(QStringLiteral("perepodk"), [this] { m_watchdog->perepodkTick(); });
    timers.attach(QStringLiteral("perepodk1"), [this] { m_watchdog->perepodk1Tick(); });
    timers.attach(QStringLiteral("timer_chat"), [this] { m_distribution->releaseIdle(); });
    timers.attach(QStringLiteral("Timer9"), [this] { m_savedStatus->timer9Tick(); });

    session.setPostLoginHook([this](int slot) { m_postLogin->run(slot); });
    connect(&session, &IcqSession::signedOn, this, [this](int slot) {
        m_secondaryLogin->noteSignedOn(slot);
        m_watchdog->noteSignedOn(slot);
    });
    connect(&session, &IcqSession::sessionLost, this, [this](int slot) {
        if (slot == 1)
            showMainBotGone();
    });
    connect(&session, &IcqSession::loginFailed, this, [this](int slot) {
        m_secondaryLogin->noteLoginFailed(slot);
        if (slot == 1)
            showMainBotGone();
    });
}

MultiBot::~MultiBot()
{
    m_session.setPostLoginHook({});
}

void MultiBot::addHooks(MessageHooks &hooks)
{
    BotDistribution *distribution = m_distribution.get();
    // The distribution answers a user who has to move to another bot itself.
    hooks.distribute = [distribution](MessageState &state) {
        return distribution->distribute(state) ? StageOutcome::Continue : StageOutcome::Stop;
    };
}

void MultiBot::startAutoLogin(int slot, const Credentials &credentials)
{
    if (auto *login = m_window.show<fMain>(QStringLiteral("fMain")))
        login->showLogin(credentials, true);
    m_session.startLogin(slot, credentials, LoginForm::loginServer());
}

void MultiBot::showMainBotGone()
{
    m_connectionCommands->showDisconnected();
}

void MultiBot::hideLoginWindow()
{
    m_window.hideWindow(QStringLiteral("fMain"));
}

std::unique_ptr<MultiBot> installMultiBot(IcqSession &session, MDIForm1 &window, ProgramState &state,
                                          AnswerEngine &engine, MessageHooks &hooks)
{
    auto multiBot = std::make_unique<MultiBot>(session, window);
    multiBot->addHooks(hooks);
    multiBot->watchdog().setAgreementCheck([&state] { return state.AgreementAccepted == 1; });
    QObject::connect(&multiBot->statusCommands(), &StatusCommands::botModeChanged, multiBot.get(),
                     [&state, &engine](const QString &mode) {
                         state.BotMode = mode;
                         engine.setBotMode(mode);
                     });
    QObject::connect(&multiBot->watchdog(), &ReconnectWatchdog::distributionPageRequested, multiBot.get(),
                     [&window] { showDistributionPage(window); });
    return multiBot;
}
