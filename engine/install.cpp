#include "engine/install.h"

#include "core/namedtimer.h"
#include "engine/message_popup_window.h"
#include "engine/services.h"
#include "engine/sessionhooks.h"
#include "engine/webservices.h"
#include "session/icqsession.h"

EngineParts::EngineParts() = default;
EngineParts::~EngineParts()
{
    engine.reset();
    web.reset();
    popup.reset();
}

std::unique_ptr<EngineParts> installEngine(TimerRegistry &timers, IcqSession &session, MessageHooks &hooks)
{
    const SendFunction send = [&session](int slot, const QString &txt, const QString &toUin) {
        return session.sendMessageOn(slot, txt, toUin);
    };
    auto parts = std::make_unique<EngineParts>();
    NamedTimer *timer1 = timers.timer(QStringLiteral("Timer1"));
    if (!timer1)
        timer1 = timers.add(QStringLiteral("Timer1"), 0);
    parts->popup = std::make_unique<Form20>();
    parts->engine = std::make_unique<AnswerEngine>(*timer1, send);

    EngineHooks stages;
    ServiceContext services;
    services.send = send;
    services.timers = &timers;
    services.popup = parts->popup.get();
    installServiceHooks(stages, services);

    WebContext web;
    web.send = send;
    AnswerEngine *engine = parts->engine.get();
    web.queueAnswer = [engine](int slot, const QString &toUin, const QString &text) {
        engine->queueAnswer(slot, toUin, text);
    };
    parts->web = std::make_unique<WebServices>(web);
    installWebHooks(stages, *parts->web);
    parts->engine->setHooks(stages);

    addEngineHooks(hooks, *parts->engine);
    return parts;
}
