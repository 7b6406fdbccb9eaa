#include "chatwindows/install.h"

#include "chat/automessagesedit.h"
#include "chat/chatservice.h"
#include "chatwindows/chat_side_windows.h"
#include "chatwindows/chat_window.h"
#include "core/namedtimer.h"
#include "platform/windowhost.h"

#include <QPointer>

void installChatWindows(WindowHost &host, ChatService &service, TimerRegistry &timers, QObject *owner)
{
    const QPointer<ChatService> chat(&service);
    const QPointer<AutoMessagesEditor> autoMessages(new AutoMessagesEditor(owner));
    const QPointer<NamedTimer> autoTimer(timers.timer(QStringLiteral("auto_soob")));
    using Placement = WindowHost::Placement;

    host.registerFactory(QStringLiteral("Form33"),
                         [chat, autoMessages, autoTimer, &host](QWidget *parent) -> QWidget * {
                             if (!chat || !autoMessages)
                                 return nullptr;
                             return new Form33(*chat, *autoMessages, autoTimer.data(), host, parent);
                         });
    host.addWindow(QStringLiteral("Form42"), QStringLiteral("Допополнительные настройки чата"),
                   Placement::Child, [](QWidget *parent) -> QWidget * { return new Form42(parent); });
    host.addWindow(
        QStringLiteral("Form43"), QStringLiteral("Лог чата"), Placement::Child,
        [chat](QWidget *parent) -> QWidget * { return chat ? new Form43(*chat, parent) : nullptr; });
    host.addWindow(QStringLiteral("Form51"), QStringLiteral("Добавление автосообщения"), Placement::Child,
                   [autoMessages](QWidget *parent) -> QWidget * {
                       return autoMessages ? new Form51(*autoMessages, parent) : nullptr;
                   });
}
