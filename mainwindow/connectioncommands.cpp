#include "mainwindow/connectioncommands.h"

#include "core/namedtimer.h"
#include "core/textfile.h"
#include "mainwindow/main_window.h"
#include "session/connectionlog.h"
#include "session/icqsession.h"
#include "session/login_window.h"

#include <QAction>

ConnectionCommands::ConnectionCommands(MDIForm1 &window, IcqSession &session,
                                       std::function<void()> disconnected, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_session(session)
    , m_disconnected(std::move(disconnected))
{
    if (QAction *action = window.action(QStringLiteral("otkl_m")))
        connect(action, &QAction::triggered, this, &ConnectionCommands::otkl_m_Click);
    if (QAction *action = window.action(QStringLiteral("pod_m")))
        connect(action, &QAction::triggered, this, &ConnectionCommands::pod_m_Click);
}

void ConnectionCommands::otkl_m_Click()
{
    // Every slot that has connections, gaps included.
    m_session.closeAll();
    if (m_disconnected)
        m_disconnected();
    if (NamedTimer *timer = m_window.timers().timer(QStringLiteral("Timer10")))
        timer->setEnabled(false);
    TextFile::remove(ChatMemberList);
    emit chatMembersCleared();
    ConnectionLog::prepend(ConnectionLog::LogOffText);
    showDisconnected();
}

void ConnectionCommands::showDisconnected()
{
    showConnected(false);
    m_window.setStatusText(DisconnectedText);
}

void ConnectionCommands::pod_m_Click()
{
    // After the showing: the window fills in a remembered login as it becomes active.
    // An automatic log-in may have left the boxes and the button off; the operator logs
    // in from here.
    if (auto *login = m_window.show<fMain>(QStringLiteral("fMain")))
        login->showLogin({}, false);
}

void ConnectionCommands::showConnected(bool connected)
{
    if (QAction *action = m_window.action(QStringLiteral("pod_m")))
        action->setEnabled(!connected);
    if (QAction *action = m_window.action(QStringLiteral("otkl_m")))
        action->setEnabled(connected);
}
