#pragma once

#include "engine/answerengine.h"

#include <memory>

class Form20;
class IcqSession;
class TimerRegistry;
class WebServices;
struct MessageHooks;

// The answer engine with everything it owns for a run: the popup window, the built-in
// services and the web sub-bots. Destroyed in the right order: the engine, whose
// stages hold the services, goes first.
struct EngineParts
{
    EngineParts();
    ~EngineParts();
    EngineParts(const EngineParts &) = delete;
    EngineParts &operator=(const EngineParts &) = delete;

    std::unique_ptr<Form20> popup;
    std::unique_ptr<WebServices> web;
    std::unique_ptr<AnswerEngine> engine;
};

// Makes the answer engine on the answer timer Timer1 of timers (added when missing),
// fills its stages with the built-in services and the web sub-bots (Timer2 for the
// popup), and puts the ban check, the message log and the pipeline into the incoming
// reader's hooks. Answers and direct replies go out through the session, each on the
// slot that received its message.
std::unique_ptr<EngineParts> installEngine(TimerRegistry &timers, IcqSession &session, MessageHooks &hooks);
