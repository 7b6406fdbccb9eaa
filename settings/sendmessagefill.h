#pragma once

#include "settings/messagedraft.h"

class QWidget;
class WindowHost;

// The send-message window "Form2" of the frame, filled with a draft: shown first, then
// its recipient, subject and message set. The window takes them through its properties
// "recipient", "subject" and "message".
ComposeMessage composeInSendMessageWindow(WindowHost &windows);

// Fills an open send-message window; a missing message leaves its message as it is.
void fillSendMessageWindow(QWidget *window, const MessageDraft &draft);
