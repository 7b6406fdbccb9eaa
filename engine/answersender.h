#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class NamedTimer;

// Sends txt to toUin on the bot slot; false when it could not go out.
using SendFunction = std::function<bool(int slot, const QString &txt, const QString &toUin)>;

// The answer timer's side: every finished answer waits here, bound to the user and the
// bot slot that asked, until its own delay after its message has passed (the human
// imitation of the settings, or 500 ms). Timer1 is armed for the earliest answer due;
// each tick sends every recipient's due answers in order, a long one in parts of at most
// PartLength characters, one part a delay, so a second user writing meanwhile gets his
// own answer at his own time and a user's answers keep their order.
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
    // A burst of a hundred messages from one user is still answered whole.
    static constexpr int MaxWaitingPerUser = 1000;

    // Attaches itself as the tick handler of timer1 (not owned; must outlive this).
    AnswerSender(NamedTimer &timer1, SendFunction send, QObject *parent = nullptr);
    ~AnswerSender() override;

    // Queues the answer, due intervalMs from now, and arms the timer for the earliest
    // answer due. A timer already armed for an earlier answer keeps its countdown, so a
    // stream of messages cannot starve it.
    void queueAnswer(int slot, const QString &toUin, const QString &text, int intervalMs);

    // Milliseconds of a steady clock; tests replace it to move time by hand.
    using SteadyClock = std::function<qint64()>;
    void setClock(SteadyClock clock);

    // The tick handler of Timer1.
    void Timer1_Timer();

    int pendingCount() const { return int(m_queue.size()); }
    // The steady-clock time the armed timer counts down to; -1 when nothing waits.
    qint64 armedForMs() const { return m_armedForMs; }

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
        int intervalMs = DefaultIntervalMs;
        qint64 dueMs = 0; // when its next part may go out
    };

    void arm(qint64 now);

    NamedTimer &m_timer;
    SteadyClock m_clock;
    qint64 m_armedForMs = -1; // the due time the running timer counts down to
    SendFunction m_send;
    QList<Pending> m_queue;
    // Per recipient, the answers of m_queue that have not started going out.
    QHash<QPair<int, QString>, int> m_unstarted;
};
