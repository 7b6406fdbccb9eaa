#pragma once

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
};

// Registers the people and records windows with the main window.
void installRecordsWindows(WindowHost &host, const RecordsContext &context);
