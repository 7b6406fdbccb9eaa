#include "engine/services.h"

#include "core/namedtimer.h"
#include "engine/additionalanswers.h"
#include "engine/admincontact.h"
#include "engine/antispam.h"
#include "engine/eventsounds.h"
#include "engine/messagepopup.h"
#include "engine/notepad.h"
#include "engine/remoteshutdown.h"
#include "engine/vote.h"

#include <memory>

namespace {

template<typename Service>
EngineHooks::Stage stage(std::shared_ptr<Service> service, StageOutcome (Service::*handler)(MessageState &))
{
    return [service, handler](MessageState &state) { return (service.get()->*handler)(state); };
}

} // namespace

void installServiceHooks(EngineHooks &hooks, ServiceContext &context)
{
    auto shutdown = std::make_shared<RemoteShutdown>(context.send, context.power);
    hooks.shutdownSystem = [shutdown](int kind) { shutdown->ShutdownSystem(kind); };

    hooks.addAnswerVariant =
        stage(std::make_shared<AdditionalAnswers>(), &AdditionalAnswers::AddAnswerVariant);
    hooks.checkAntiSpam = stage(std::make_shared<AntiSpam>(context.send), &AntiSpam::CheckAntiSpam);
    hooks.handleVote = stage(std::make_shared<Vote>(context.send), &Vote::HandleVote);
    hooks.handleAdminContact =
        stage(std::make_shared<AdminContact>(context.send), &AdminContact::HandleAdminContact);
    hooks.handleNotepad = stage(std::make_shared<Notepad>(context.send), &Notepad::HandleNotepad);

    auto sounds = std::make_shared<EventSounds>(context.sound);
    hooks.playEventSound = [sounds](MessageState &) {
        sounds->PlayEventSound(EventSounds::NewMessage);
        return StageOutcome::Continue;
    };

    if (context.timers) {
        NamedTimer *timer2 = context.timers->add(QStringLiteral("Timer2"), MessagePopup::DefaultTimeMs);
        auto popup = std::make_shared<MessagePopup>(*timer2, context.popup);
        hooks.showMessagePopup = [popup](MessageState &state) {
            popup->ShowMessagePopup(state);
            return StageOutcome::Continue;
        };
    }
}
