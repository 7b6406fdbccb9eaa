#pragma once

#include <memory>

class ChatModeration;
class ChatService;
class IcqSession;
class TimerRegistry;

// Chat moderation as the main window installs it.
struct ModerationParts
{
    ModerationParts();
    ~ModerationParts();
    ModerationParts(const ModerationParts &) = delete;
    ModerationParts &operator=(const ModerationParts &) = delete;

    std::unique_ptr<ChatModeration> moderation;
};

// Puts the staff commands into the chat's moderation stage and the warnings behind its
// forbidden-word test, sending through the session; attaches the expiry of timed bans to
// the main window's "ban" timer and starts it (one tick a minute). The answer engine's
// ban check reads the same chat ban list (files/chatbanlist.h) that the bans write.
std::unique_ptr<ModerationParts> installModeration(TimerRegistry &timers, ChatService &chat, IcqSession &session);
