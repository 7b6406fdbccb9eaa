#pragma once

#include "session/credentials.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class AnswerEngine;
class BotDistribution;
class BotPresence;
class ConnectionCommands;
class IcqSession;
class MDIForm1;
class PostLoginActions;
class ReconnectWatchdog;
class SavedStatus;
class SecondaryLogin;
class StatusCommands;
struct MessageHooks;
struct ProgramState;

// The many-bot layer wired into the main window: what follows each sign-on, the log-in
// chain of the secondary bots, the distribution of users over them, the watchdog, the
// connect and disconnect items, the status and bot-mode items and the saved status.
class MultiBot : public QObject
{
    Q_OBJECT
public:
    // Starts an automatic log-in of a bot on its slot.
    using AutoLogin = std::function<void(int slot, const Credentials &credentials)>;

    MultiBot(IcqSession &session, MDIForm1 &window, QObject *parent = nullptr);
    ~MultiBot() override;

    // Puts the distribution into the incoming reader's hooks.
    void addHooks(MessageHooks &hooks);
    // Replaces the plain log-in used by the chain and the watchdog.
    void setAutoLogin(AutoLogin login) { m_autoLogin = std::move(login); }
    // The plain one: the login window shows the bot's login, its boxes and button off.
    void startAutoLogin(int slot, const Credentials &credentials);
    // How the main window leaves the screen after a log-in; plain hiding unless replaced.
    void setHideMainWindow(std::function<void()> hide) { m_hideMainWindow = std::move(hide); }

    BotPresence &presence() const { return *m_presence; }
    BotDistribution &distribution() const { return *m_distribution; }
    PostLoginActions &postLogin() const { return *m_postLogin; }
    SecondaryLogin &secondaryLogin() const { return *m_secondaryLogin; }
    ReconnectWatchdog &watchdog() const { return *m_watchdog; }
    SavedStatus &savedStatus() const { return *m_savedStatus; }
    StatusCommands &statusCommands() const { return *m_statusCommands; }
    ConnectionCommands &connectionCommands() const { return *m_connectionCommands; }

private:
    void hideLoginWindow();
    // The main bot's session is gone: the window says so at once.
    void showMainBotGone();

    IcqSession &m_session;
    MDIForm1 &m_window;
    AutoLogin m_autoLogin;
    std::function<void()> m_hideMainWindow;
    std::unique_ptr<BotPresence> m_presence;
    std::unique_ptr<BotDistribution> m_distribution;
    std::unique_ptr<PostLoginActions> m_postLogin;
    std::unique_ptr<SecondaryLogin> m_secondaryLogin;
    std::unique_ptr<ReconnectWatchdog> m_watchdog;
    std::unique_ptr<SavedStatus> m_savedStatus;
    std::unique_ptr<StatusCommands> m_statusCommands;
    std::unique_ptr<ConnectionCommands> m_connectionCommands;
};

// Makes the many-bot layer on the main window and wires it into the program: the
// distribution into the incoming reader's hooks, the watchdog's agreement check and its
// request for the bot numbers page, and the bot-mode items into the program state and
// the answer engine.
std::unique_ptr<MultiBot> installMultiBot(IcqSession &session, MDIForm1 &window, ProgramState &state,
                                          AnswerEngine &engine, MessageHooks &hooks);
