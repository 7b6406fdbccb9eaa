#pragma once

#include <QString>
#include <QStringList>

// "\Подпрограммы\Лог_чата.txt" and "\Подпрограммы\История_чата.txt": one event line per
// chat event, newest first. The new lines are journalled beside each file by the storage
// layer and folded in the background, so an event costs the same however long the log
// has grown; every reader sees them at once.
class ChatLog
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Лог_чата.txt");
    static inline const QString HistoryPath = QStringLiteral("\\Подпрограммы\\История_чата.txt");

    // Opens both journals, so lines a killed run left are folded into the files before
    // anyone reads them (the chat service does this when it is made).
    static void open();
    // The date text, one blank, the time text: the start of every event line.
    static QString stamp();
    // Puts the event line in front of the chat log and, when asked, of the history.
    static void AddChatLogEntry(const QString &eventLine, bool withHistory);
    // Puts a line in front of the history only (the room change's join record).
    static void addHistoryLine(const QString &eventLine);
    // The log's lines, newest first, empty ones dropped.
    static QStringList lines();
    static QString text();
    // The log window's delete.
    static bool clear();
};

// "\Подпрограммы\История_чата.txt": the events that the chat log's writers record in
// the history too, newest first. Nothing in the program reads it back.
class ChatHistory
{
public:
    static inline const QString &FilePath = ChatLog::HistoryPath;
    static void addLine(const QString &eventLine) { ChatLog::addHistoryLine(eventLine); }
    static QStringList lines();
};

// The chat statistics: the day file "\Подпрограммы\Статистика_чата<date>.txt" and the
// totals file "\Подпрограммы\Статистика_чата.txt", four counters each:
// 1 registered nicks, 2 joins, 3 bans, 4 chat lines.
class ChatStatistics
{
public:
    static inline const QString TotalsPath = QStringLiteral("\\Подпрограммы\\Статистика_чата.txt");
    enum Counter { Registrations = 1, Joins = 2, Bans = 3, Lines = 4 };

    static QString dayPath(); // today's day file

    // Adds amount to the counter in the day file and the totals file. An empty or
    // missing counter starts at 0; a counter that holds no number stays as it is.
    // Updates are gathered and written by the storage layer's next batch; a read of
    // either file sees them.
    static void AddChatStatistic(int counter, int amount);

    // Lines 1 to 4 as they stand (empty when missing); a line that holds no number is
    // reported once (TextFile::reportBadLine()), and the updates that keep it say nothing more.
    static QStringList dayValues();
    static QStringList totalValues();
};
