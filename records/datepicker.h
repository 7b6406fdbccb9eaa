#pragma once

#include <QDate>
#include <QObject>
#include <QString>

// The one date picker of the program: a window asks for a date, the calendar hands the
// clicked date to the window that asked last, and only to it.
class DatePicker : public QObject
{
    Q_OBJECT
public:
    enum class Requester {
        None = 0,
        Statistics = 1,       // the statistics window's date of messages
        Log = 2,              // the log window's day
        NumberStatistics = 3, // the per-number statistics window's date
        BlacklistEntry = 4,   // the blacklist entry window's until date
    };
    Q_ENUM(Requester)

    explicit DatePicker(QObject *parent = nullptr);

    // A later request replaces an earlier one that no pick answered yet.
    void request(Requester requester);
    Requester requester() const { return m_requester; }

    // The calendar's click: the date as the data files write dates goes to the waiting
    // window through picked(), and the request is over. Nothing when none waits.
    void pick(const QDate &date);

Q_SIGNALS:
    void requested(DatePicker::Requester requester);
    void picked(DatePicker::Requester requester, const QString &dateText);

private:
    Requester m_requester = Requester::None;
};
