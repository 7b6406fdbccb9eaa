#pragma once

#include <functional>

class AnswerEngine;
class IcqSession;
class QObject;
class WindowHost;

// What the people and records windows reach of the running bot.
struct RecordsContext
{
    IcqSession &session;
    AnswerEngine &engine;
    QObject *owner = nullptr; // parent of the shared logic objects
    // Sets the bot's status on every bot (1 online, 2 occupied, 3 invisible), as the
    // main window's status items do.
    std::function<void(int code)> setStatus;
};

// Registers the people and records windows with the main window; their shared objects
// live as long as context.owner.
void installRecordsWindows(WindowHost &host, const RecordsContext &context);
