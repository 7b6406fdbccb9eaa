#pragma once

class ChatService;
class QObject;
class TimerRegistry;
class WindowHost;

// Registers the chat windows with the main window: the chat window "Form33", the chat
// options "Form42", the chat log "Form43" and the auto-message add window "Form51", all
// working through the chat service. timers gives the auto-message page its tick.
void installChatWindows(WindowHost &host, ChatService &service, TimerRegistry &timers, QObject *owner);
