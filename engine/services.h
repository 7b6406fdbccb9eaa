#pragma once

#include "engine/answerengine.h"

class Power;
class PopupView;
class Sound;
class TimerRegistry;

// What the built-in services need from the program.
struct ServiceContext
{
    SendFunction send;               // direct replies, on the slot that received the message
    Sound *sound = nullptr;          // nullptr: Sound::instance() at each play
    Power *power = nullptr;          // nullptr: Power::instance() at each request
    TimerRegistry *timers = nullptr; // holds Timer2 (added when missing); nullptr: no popup stage
    PopupView *popup = nullptr;      // Form20; nullptr: the popup stage only runs Timer2
};

// Fills the hooks of the built-in services that talk with users and the operator:
// shutdownSystem, addAnswerVariant, checkAntiSpam, handleVote, handleAdminContact,
// handleNotepad, playEventSound and showMessagePopup. Other hooks are left as they are.
// The services live as long as the hooks that hold them.
void installServiceHooks(EngineHooks &hooks, ServiceContext &context);
