#include "chat/install.h"

#include "chat/chatautomessages.h"
#include "chat/chatservice.h"
#include "core/namedtimer.h"
#include "files/automessages.h"
#include "session/icqsession.h"

ChatParts::ChatParts() = default;
ChatParts::~ChatParts() = default;

std::unique_ptr<ChatParts> installChat(TimerRegistry &timers, IcqSession &session)
{
    auto parts = std::make_unique<ChatParts>();
    IcqSession *sessionPtr = &session;
    parts->service = std::make_unique<ChatService>(timers, [sessionPtr](int slot, const QString &txt,
                                                                        const QString &toUin) {
        return sessionPtr->sendMessageOn(slot, txt, toUin);
    });
    ChatService *service = parts->service.get();
    QObject::connect(&session, &IcqSession::signedOn, service, &ChatService::noteSignedOn);
    parts->stage = [service](MessageState &state) { return service->HandleChatMessage(state); };
    parts->cleanUpPerRun = [service] { service->cleanUpPerRunFiles(); };
    parts->restorePerRun = [&timers] {
        if (!AutoMessages::hasText())
            return;
        if (NamedTimer *timer = timers.timer(ChatAutoMessages::TimerName)) {
            timer->setInterval(ChatAutoMessages::TickMs);
            timer->setEnabled(true);
        }
    };
    return parts;
}
