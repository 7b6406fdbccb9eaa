#pragma once

#include "session/messagestate.h"
#include "session/stageoutcome.h"

#include <functional>
#include <memory>

class ChatService;
class IcqSession;
class TimerRegistry;

// The chat of one run, as the main window installs it.
struct ChatParts
{
    ChatParts();
    ~ChatParts();
    ChatParts(const ChatParts &) = delete;
    ChatParts &operator=(const ChatParts &) = delete;

    std::unique_ptr<ChatService> service;
    // The answer engine's chat stage (ChatService::HandleChatMessage).
    std::function<StageOutcome(MessageState &)> stage;
    // Deletes the per-run chat files: the member list, the room member files and the
    // room queues. The start-up calls it after an unclean end, the exit sequence always.
    std::function<void()> cleanUpPerRun;
    // The start-up's restore: the auto-messages tick from the start when their file
    // holds text.
    std::function<void()> restorePerRun;
};

// Makes the chat service on the main window's timers ("Timer10" delivery, "auto_soob"
// auto-messages, "chat_tim" reconnection notice), sending through the session on the
// slot each send names, and arms the reconnection notice at the sign-on that follows a
// watchdog's log-in (the caller sets NotifyChatAfterLogin from the watchdog).
std::unique_ptr<ChatParts> installChat(TimerRegistry &timers, IcqSession &session);
