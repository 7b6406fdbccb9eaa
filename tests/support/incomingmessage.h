#pragma once

#include "session/messagestate.h"

#include <QString>

// A message as the session hands it to the engine: its sender and its text.
inline MessageState message(const QString &uin, const QString &text)
{
    MessageState state;
    state.SenderUin = uin;
    state.MessageText = text;
    return state;
}
