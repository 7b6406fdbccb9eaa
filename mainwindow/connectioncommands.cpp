#include "mainwindow/connectioncommands.h"

#include "core/namedtimer.h"
#include "core/textfile.h"
#include "mainwindow/main_window.h"
#include "session/connectionlog.h"
#include "session/icqsession.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

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
    ConnectionLog::prepend(ConnectionLog::LogOffText);
    showConnected(false);
    m_window.setStatusText(DisconnectedText);
}

void ConnectionCommands::pod_m_Click()
{
    QWidget *login = m_window.showWindow(QStringLiteral("fMain"));
    if (!login)
        return;
    // After the showing: the window fills in a remembered login as it becomes active.
    for (const QString &name : {QStringLiteral("Text1"), QStringLiteral("Text2")}) {
        if (auto *box = login->findChild<QLineEdit *>(name)) {
            box->clear();
            box->setEnabled(true);
        }
    }
    // An automatic log-in may have left the button off; the operator logs in from here.
    if (auto *button = login->findChild<QPushButton *>(QStringLiteral("Command1")))
        button->setEnabled(true);
}

void ConnectionCommands::showConnected(bool connected)
{
    if (QAction *action = m_window.action(QStringLiteral("pod_m")))
        action->setEnabled(!connected);
    if (QAction *action = m_window.action(QStringLiteral("otkl_m")))
        action->setEnabled(connected);
}
