#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class NamedTimer;

// Sends txt to toUin on the bot slot; false when it could not go out.
using SendFunction = std::function<bool(int slot, const QString &txt, const QString &toUin)>;

// The answer timer's side: every finished answer waits here, bound to the user and the
// bot slot that asked, until Timer1 ticks. Each tick sends one part of at most
// PartLength characters of the oldest answer of every recipient, so a second user
// writing meanwhile gets his own answer and a long answer keeps its order.
class AnswerSender : public QObject
{
    Q_OBJECT
public:
    static constexpr int PartLength = 2000;
    static constexpr int DefaultIntervalMs = 500;
    static inline const QString FirstPartLead = QStringLiteral("Начало сообщения:\r\n\r\n");
    static inline const QString LastPartTail = QStringLiteral("\r\n\r\nКонец сообщения.");
    // Answers one user may have waiting that have not started going out; a user who
    // writes faster than the timer sends loses his oldest waiting answers, not memory.
    static constexpr int MaxWaitingPerUser = 10;

    // Attaches itself as the tick handler of timer1 (not owned; must outlive this).
    AnswerSender(NamedTimer &timer1, SendFunction send, QObject *parent = nullptr);
    ~AnswerSender() override;

    // Queues the answer and arms the timer with intervalMs. A running timer with the
    // same interval keeps its countdown, so a stream of messages cannot starve it.
    void queueAnswer(int slot, const QString &toUin, const QString &text, int intervalMs);

    // The tick handler of Timer1.
    void Timer1_Timer();

    int pendingCount() const { return int(m_queue.size()); }

Q_SIGNALS:
    // One message went out (or was attempted) for an answer.
    void partSent(int slot, const QString &toUin, const QString &txt);

private:
    struct Pending
    {
        int slot = 0;
        QString toUin;
        QString text; // what is still to be sent
        int partNo = 0;
    };

    NamedTimer &m_timer;
    SendFunction m_send;
    QList<Pending> m_queue;
};
