#pragma once

#include "platform/windowhost.h"
#include "records/blacklistbook.h"
#include "records/datepicker.h"

#include <QObject>
#include <QString>

class AnswerEngine;
class IcqSession;
struct RecordsContext;

// What the records windows share: the blacklists' owner that tells open windows of a
// change, the one date picker, the bot, and the way to the main window's other windows.
class RecordsHub : public QObject
{
    Q_OBJECT
public:
    RecordsHub(WindowHost &host, IcqSession &session, AnswerEngine &engine, QObject *parent = nullptr);

    WindowHost &host() { return m_host; }
    IcqSession &session() { return m_session; }
    AnswerEngine &engine() { return m_engine; }
    BlacklistBook &blacklist() { return m_blacklist; }
    DatePicker &picker() { return m_picker; }

private:
    void deliverDate(DatePicker::Requester requester, const QString &dateText);

    WindowHost &m_host;
    IcqSession &m_session;
    AnswerEngine &m_engine;
    BlacklistBook m_blacklist;
    DatePicker m_picker;
};

// Registers the blacklist, calendar, send-message, statistics, user list and log
// windows with the main window; their shared objects live as long as context.owner.
void installRecordWindows(WindowHost &host, const RecordsContext &context);
