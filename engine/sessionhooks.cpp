#include "engine/sessionhooks.h"

#include "engine/answerengine.h"
#include "engine/bancheck.h"
#include "records/messagerecords.h"

void addEngineHooks(MessageHooks &hooks, AnswerEngine &engine)
{
    hooks.checkBans = [](MessageState &state) {
        CheckBans(state);
        return state.SenderBanned ? StageOutcome::Stop : StageOutcome::Continue;
    };
    hooks.logMessage = [](MessageState &state) {
        LogMessage(state);
        return StageOutcome::Continue;
    };
    // The pipeline is the reader's last stage: the message ends there.
    hooks.processMessage = [&engine](MessageState &state) {
        engine.ProcessMessage(state);
        return StageOutcome::Stop;
    };
}
