#include "engine/sessionhooks.h"

#include "engine/answerengine.h"
#include "engine/bancheck.h"
#include "engine/records.h"

void addEngineHooks(MessageHooks &hooks, AnswerEngine &engine)
{
    hooks.checkBans = [](MessageState &state) { CheckBans(state); };
    hooks.logMessage = [](MessageState &state) { LogMessage(state); };
    hooks.processMessage = [&engine](MessageState &state) { engine.ProcessMessage(state); };
}
