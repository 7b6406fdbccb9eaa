#pragma once

#include <QString>

#include <functional>

class TimerRegistry;

// What the post-login actions change in the windows; the main window fills these in.
struct PostLoginView
{
    std::function<void()> hideLoginWindow;
    // "Подключиться" off, "Отключиться" on.
    std::function<void()> showConnected;
    std::function<void(const QString &)> setStatusText;
    // The login window and the main window go to the tray.
    std::function<void()> hideWindows;
    // Whether the main bot is signed on. A secondary bot's sign-on shows the bot online
    // only then: the status bar and the menus speak of the main bot.
    std::function<bool()> mainSignedOn;
};

// Runs after every bot's sign-on: the main window goes online, the next secondary bot's
// log-in, the idle release and the saved-status restore are armed, and the log-in is
// written to the day's connection log.
class PostLoginActions
{
public:
    static inline const QString OnlineText = QStringLiteral("Статус бота: онлайн");

    PostLoginActions(TimerRegistry &timers, PostLoginView view);

    void run(int slot);

    // A one-shot request of the start-up: hide the windows after the next log-in.
    void setHideAfterLogin(bool hide) { m_hideAfterLogin = hide; }
    bool hideAfterLogin() const { return m_hideAfterLogin; }

    // The log-in sound; playStartupSound() unless replaced.
    void setLoginSound(std::function<void()> play) { m_loginSound = std::move(play); }
    // The start-up and log-in sound of the general settings, unless sounds are off.
    static void playStartupSound();

private:
    TimerRegistry &m_timers;
    PostLoginView m_view;
    std::function<void()> m_loginSound;
    bool m_hideAfterLogin = false;
};
