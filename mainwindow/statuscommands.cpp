#include "mainwindow/statuscommands.h"

#include "core/textfile.h"
#include "mainwindow/main_window.h"
#include "platform/dialogs.h"
#include "session/icqsession.h"
#include "session/savedstatus.h"

#include <QAction>

namespace {

struct StatusItem
{
    int code;
    const char *action;
};
constexpr StatusItem statusItems[] = {{1, "online_m_st"}, {2, "zanjat_m_st"}, {3, "nevid_m_st"}};

struct ModeItem
{
    const char *mode;
    const char *action;
};
constexpr ModeItem modeItems[] = {{"1", "rej_kom_m"}, {"2", "rej_auto_m"}, {"3", "rej_zerk_m"}};

} // namespace

StatusCommands::StatusCommands(MDIForm1 &window, IcqSession &session, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_session(session)
{
    for (const StatusItem &item : statusItems) {
        if (QAction *action = window.action(QLatin1String(item.action))) {
            const int code = item.code;
            connect(action, &QAction::triggered, this, [this, code] { setStatus(code); });
        }
    }
    if (QAction *action = window.action(QStringLiteral("rej_kom_m")))
        connect(action, &QAction::triggered, this, [this] { chooseMode(QStringLiteral("1")); });
    if (QAction *action = window.action(QStringLiteral("rej_zerk_m")))
        connect(action, &QAction::triggered, this, [this] { chooseMode(QStringLiteral("3")); });
    if (QAction *action = window.action(QStringLiteral("rej_auto_m")))
        connect(action, &QAction::triggered, this, &StatusCommands::chooseAutoResponder);
    if (QAction *action = window.action(QStringLiteral("zap_st_m")))
        connect(action, &QAction::triggered, this, &StatusCommands::zap_st_m_Click);
}

QString StatusCommands::statusText(int code)
{
    switch (code) {
    case 1:
        return QStringLiteral("Статус бота: онлайн");
    case 2:
        return QStringLiteral("Статус бота: занят");
    case 3:
        return QStringLiteral("Статус бота: не видимый");
    default:
        return QString();
    }
}

void StatusCommands::setStatus(int code)
{
    m_session.abb(code);
    showStatus(code);
}

void StatusCommands::showStatus(int code)
{
    if (statusText(code).isEmpty())
        return;
    for (const StatusItem &item : statusItems) {
        if (QAction *action = m_window.action(QLatin1String(item.action)))
            action->setChecked(item.code == code);
    }
    // Without the main bot's session the status bar keeps saying so: a status is no
    // connection.
    if (m_session.isSignedOn(1))
        m_window.setStatusText(statusText(code));
}

void StatusCommands::checkMode(const QString &mode)
{
    for (const ModeItem &item : modeItems) {
        if (QAction *action = m_window.action(QLatin1String(item.action)))
            action->setChecked(mode == QLatin1String(item.mode));
    }
}

void StatusCommands::chooseMode(const QString &mode)
{
    TextFile::writeLines(ModeFile, {mode});
    setBotMode(mode);
    emit botModeChanged(mode);
}

void StatusCommands::chooseAutoResponder()
{
    const QString text = Dialogs::instance().input(AutoResponderTitle, AutoResponderPrompt);
    if (text.isEmpty()) {
        // The item's own click flipped its mark; the mode stays as it was.
        checkMode(m_botMode);
        return;
    }
    TextFile::writeLines(AutoResponderFile, {QStringLiteral("2"), text});
    setBotMode(QStringLiteral("2"));
    emit botModeChanged(m_botMode);
}

void StatusCommands::setBotMode(const QString &mode)
{
    m_botMode = mode;
    checkMode(mode);
}

void StatusCommands::zap_st_m_Click()
{
    QAction *action = m_window.action(QStringLiteral("zap_st_m"));
    if (!action)
        return;
    // The click has flipped the mark already; the file follows the mark it had before.
    action->setChecked(SavedStatus::toggleRemember(!action->isChecked()));
}
