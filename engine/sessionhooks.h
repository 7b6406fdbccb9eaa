#pragma once

#include "session/icqsession.h"

class AnswerEngine;

// Puts the ban check, the message log and the answer pipeline into the incoming
// reader's hooks; the distribution, if any, stays as it is.
void addEngineHooks(MessageHooks &hooks, AnswerEngine &engine);
