#pragma once

#include "platform/messagedraft.h"

class WindowHost;

// The send-message window "Form2" of the frame, filled with a draft: shown first, then
// its recipient, subject and message set through its MessageDraftTarget side.
ComposeMessage composeInSendMessageWindow(WindowHost &windows);
