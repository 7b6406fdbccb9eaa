#pragma once

// What one stage of a message's road decided: the incoming reader's hooks and the
// answer engine's stages all answer with it.
enum class StageOutcome {
    Continue, // the next stage runs
    Stop,     // the message is finished (replied to directly, deferred, or dropped)
    SendNow,  // the answer in ReplyText goes to the answer timer at once
};
