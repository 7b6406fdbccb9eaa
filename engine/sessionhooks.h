#pragma once

#include "session/icqsession.h"

class AnswerEngine;

// Puts the ban check, the message log and the answer pipeline into the incoming
// reader's hooks; the distribution, if any, stays as it is. The reader's ban check is
// the only one a message meets: it stands before the distribution and the log, which a
// banned sender's message must not reach, and the pipeline has none of its own.
void addEngineHooks(MessageHooks &hooks, AnswerEngine &engine);
