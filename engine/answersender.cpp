#include "engine/answersender.h"

#include "core/namedtimer.h"

#include <QSet>

#include <utility>

AnswerSender::AnswerSender(NamedTimer &timer1, SendFunction send, QObject *parent)
    : QObject(parent)
    , m_timer(timer1)
    , m_send(std::move(send))
{
    m_timer.setHandler([this] { Timer1_Timer(); });
}

AnswerSender::~AnswerSender()
{
    // The timer outlives us; it must not tick into a destroyed sender.
    m_timer.setEnabled(false);
    m_timer.setHandler({});
}

void AnswerSender::queueAnswer(int slot, const QString &toUin, const QString &text, int intervalMs)
{
    int waiting = 0;
    for (const Pending &answer : std::as_const(m_queue))
        if (answer.slot == slot && answer.toUin == toUin && answer.partNo == 0)
            ++waiting;
    for (qsizetype i = 0; waiting >= MaxWaitingPerUser && i < m_queue.size(); ++i) {
        const Pending &answer = m_queue.at(i);
        if (answer.slot == slot && answer.toUin == toUin && answer.partNo == 0) {
            m_queue.removeAt(i--);
            --waiting;
        }
    }
    m_queue.append({slot, toUin, text, 0});
    if (intervalMs <= 0)
        intervalMs = DefaultIntervalMs;
    if (!m_timer.isEnabled() || m_timer.interval() != intervalMs)
        m_timer.setInterval(intervalMs);
    m_timer.setEnabled(true);
}

void AnswerSender::Timer1_Timer()
{
    // Work on a snapshot: a send may not re-enter, but the queue must stay consistent.
    QList<Pending> queue = std::exchange(m_queue, {});
    QList<Pending> rest;
    QSet<QPair<int, QString>> served;
    for (Pending &answer : queue) {
        const QPair<int, QString> key(answer.slot, answer.toUin);
        if (served.contains(key)) {
            rest.append(std::move(answer));
            continue;
        }
        served.insert(key);
        QString txt;
        if (answer.text.size() > PartLength) {
            ++answer.partNo;
            txt = answer.text.left(PartLength);
            answer.text.remove(0, PartLength);
            if (answer.partNo == 1)
                txt.prepend(FirstPartLead);
            rest.append(answer);
        } else {
            txt = answer.partNo == 0 ? answer.text : answer.text + LastPartTail;
        }
        if (m_send)
            m_send(answer.slot, txt, answer.toUin);
        Q_EMIT partSent(answer.slot, answer.toUin, txt);
    }
    // Answers queued while sending go after the ones still in progress.
    rest.append(m_queue);
    m_queue = std::move(rest);
    if (m_queue.isEmpty())
        m_timer.setEnabled(false);
}
