#include "moderation/install.h"

#include "chat/chatservice.h"
#include "core/namedtimer.h"
#include "moderation/chatmoderation.h"
#include "session/icqsession.h"

ModerationParts::ModerationParts() = default;
ModerationParts::~ModerationParts() = default;

namespace {
const QString BanTimer = QStringLiteral("ban");
constexpr int BanTimerMs = 60000;
} // namespace

std::unique_ptr<ModerationParts> installModeration(TimerRegistry &timers, ChatService &chat, IcqSession &session)
{
    auto parts = std::make_unique<ModerationParts>();
    IcqSession *sessionPtr = &session;
    parts->moderation = std::make_unique<ChatModeration>(
        &chat, [sessionPtr](int slot, const QString &txt, const QString &toUin) {
            return sessionPtr->sendMessageOn(slot, txt, toUin);
        });
    ChatModeration *moderation = parts->moderation.get();
    chat.setModerationStage([moderation](MessageState &state) { return moderation->HandleChatAdminCommand(state); });
    chat.setWarnSender([moderation](MessageState &state) { moderation->WarnChatSender(state); });

    NamedTimer *timer = timers.add(BanTimer, BanTimerMs);
    timers.attach(BanTimer, [moderation] { moderation->ban_Timer(); });
    timer->setEnabled(true);
    return parts;
}
