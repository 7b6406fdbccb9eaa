#pragma once

#include <QObject>
#include <QString>

#include <functional>

class IcqSession;
class MDIForm1;

// "Подключиться" and "Отключиться" of the "Коннект" menu; exactly one of them is enabled.
class ConnectionCommands : public QObject
{
    Q_OBJECT
public:
    static inline const QString DisconnectedText = QStringLiteral("Статус бота: отсутствует подключение");
    static inline const QString ChatMemberList = QStringLiteral("\\Подпрограммы\\Список_чата.txt");

    // disconnected runs after the connections are closed: the log-in chain and the
    // watchdog stand down there.
    ConnectionCommands(MDIForm1 &window, IcqSession &session, std::function<void()> disconnected,
                       QObject *parent = nullptr);

    void otkl_m_Click();
    void pod_m_Click();
    // The two items' enabled state.
    void showConnected(bool connected);
    // The items and the status bar as after "Отключиться".
    void showDisconnected();

Q_SIGNALS:
    // "Отключиться" has run: the chat's member list is gone and its delivery stopped.
    void chatMembersCleared();

private:
    MDIForm1 &m_window;
    IcqSession &m_session;
    std::function<void()> m_disconnected;
};
