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
#include "session/postlogin.h"
#include "session/savedstatus.h"
#include "session/secondarylogin.h"
#include "session/watchdog.h"
#include "settings/settingsinstall.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>

MultiBot::MultiBot(IcqSession &session, MDIForm1 &window, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_window(window)
{
    m_presence = std::make_unique<BotPresence>(session);
    const BotPresence *presence = m_presence.get();
    m_distribution = std::make_unique<BotDistribution>(
        [&session](int slot, const QString &text, const QString &toUin) {
            session.setCurrentSlot(slot);
            session.sendMessageOn(slot, text, toUin);
        },
        [presence](int slot) { return presence->isSignedOn(slot); });

    m_statusCommands = std::make_unique<StatusCommands>(window, session);
    m_connectionCommands = std::make_unique<ConnectionCommands>(window, session, [this] {
        m_presence->forgetAll();
        m_secondaryLogin->stop();
        m_watchdog->suspend();
    });

    PostLoginView view;
    view.hideLoginWindow = [this] { hideLoginWindow(); };
    view.showConnected = [this] { m_connectionCommands->showConnected(true); };
    view.setStatusText = [&window](const QString &text) { window.setStatusText(text); };
    view.hideWindows = [this, &window] {
        hideLoginWindow();
        if (m_hideMainWindow)
            m_hideMainWindow();
        else
            window.hide();
    };
    m_postLogin = std::make_unique<PostLoginActions>(window.timers(), view);

    const auto autoLogin = [this](int slot, const QString &number, const QString &password) {
        if (m_autoLogin)
            m_autoLogin(slot, number, password);
        else
            startAutoLogin(slot, number, password);
    };
    m_secondaryLogin = std::make_unique<SecondaryLogin>(
        window.timers(), *m_presence,
        [this, autoLogin](int slot, const QString &number, const QString &password) {
            m_session.setMainUin(LoginForm::numberFromText(number).value_or(0));
            m_session.setMainPassword(password);
            autoLogin(slot, number, password);
        },
        [this](int slot) {
            m_session.closeSlot(slot);
            m_presence->forget(slot);
        });

    m_watchdog = std::make_unique<ReconnectWatchdog>(session, *m_presence, window.timers());
    m_watchdog->setReconnectInterval(ReconnectWatchdog::intervalFromSettings());
    m_watchdog->setRelogin(
        [autoLogin](const QString &number, const QString &password) { autoLogin(1, number, password); });

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

void MultiBot::startAutoLogin(int slot, const QString &number, const QString &password)
{
    if (QWidget *login = m_window.showWindow(QStringLiteral("fMain"))) {
        if (auto *box = login->findChild<QLineEdit *>(QStringLiteral("Text1"))) {
            box->setText(number);
            box->setEnabled(false);
        }
        if (auto *box = login->findChild<QLineEdit *>(QStringLiteral("Text2"))) {
            box->setText(password);
            box->setEnabled(false);
        }
        if (auto *button = login->findChild<QPushButton *>(QStringLiteral("Command1")))
            button->setEnabled(false);
    }
    // Again after the showing: the window may have put the remembered login into them.
    m_session.setMainUin(LoginForm::numberFromText(number).value_or(0));
    m_session.setMainPassword(password);
    const LoginForm::Server server = LoginForm::loginServer();
    m_session.startLogin(slot, number, server.host, server.port);
}

void MultiBot::hideLoginWindow()
{
    QWidget *login = m_window.findWindow(QStringLiteral("fMain"));
    if (!login)
        return;
    if (auto *frame = qobject_cast<QMdiSubWindow *>(login->parentWidget()))
        frame->hide();
    else
        login->hide();
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
