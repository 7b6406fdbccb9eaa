#include "engine/answersender.h"

#include "core/namedtimer.h"

#include <QElapsedTimer>
#include <QSet>

#include <algorithm>
#include <memory>

#include <utility>

AnswerSender::AnswerSender(NamedTimer &timer1, SendFunction send, QObject *parent)
    : QObject(parent)
    , m_timer(timer1)
    , m_send(std::move(send))
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    m_clock = [started] { return started->elapsed(); };
    m_timer.setHandler([this] { Timer1_Timer(); });
}

void AnswerSender::setClock(SteadyClock clock)
{
    if (clock)
        m_clock = std::move(clock);
}

AnswerSender::~AnswerSender()
{
    // The timer outlives us; it must not tick into a destroyed sender.
    m_timer.setEnabled(false);
    m_timer.setHandler({});
}

void AnswerSender::queueAnswer(int slot, const QString &toUin, const QString &text, int intervalMs)
{
    const QPair<int, QString> key(slot, toUin);
    int &waiting = m_unstarted[key];
    for (qsizetype i = 0; waiting >= MaxWaitingPerUser && i < m_queue.size(); ++i) {
        const Pending &answer = m_queue.at(i);
        if (answer.slot == slot && answer.toUin == toUin && answer.partNo == 0) {
            m_queue.removeAt(i--);
            --waiting;
        }
    }
    if (intervalMs <= 0)
        intervalMs = DefaultIntervalMs;
    const qint64 now = m_clock();
    m_queue.append({slot, toUin, text, 0, intervalMs, now + intervalMs});
    ++waiting;
    // A timer already counting down to an earlier answer keeps its countdown; only an
    // answer due sooner needs the queue looked over.
    if (m_timer.isEnabled() && m_armedForMs >= 0 && m_armedForMs <= now + intervalMs)
        return;
    arm(now);
}

namespace {
// Answers due this close together go out on one tick.
constexpr qint64 SameTickMs = 5;
} // namespace

void AnswerSender::arm(qint64 now)
{
    // Only a recipient's oldest answer can go next.
    qint64 earliest = -1;
    QSet<QPair<int, QString>> seen;
    for (const Pending &answer : std::as_const(m_queue)) {
        const QPair<int, QString> key(answer.slot, answer.toUin);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        if (earliest < 0 || answer.dueMs < earliest)
            earliest = answer.dueMs;
    }
    if (earliest < 0) {
        m_timer.setEnabled(false);
        m_armedForMs = -1;
        return;
    }
    if (m_timer.isEnabled() && m_armedForMs >= 0 && m_armedForMs <= earliest)
        return;
    // An interval of 0 would never tick.
    m_timer.setInterval(int(std::max<qint64>(1, earliest - now)));
    m_timer.setEnabled(true);
    m_armedForMs = earliest;
}

void AnswerSender::Timer1_Timer()
{
    // The tick stands for the due time it was armed for, even when the timer fired a
    // little early.
    const qint64 now = std::max(m_clock(), m_armedForMs) + SameTickMs;
    m_armedForMs = -1;
    // Work on a snapshot: a send may not re-enter, but the queue must stay consistent.
    QList<Pending> queue = std::exchange(m_queue, {});
    QList<Pending> rest;
    // Recipients whose next answer must wait: not due yet, or a long answer whose next
    // part goes out one delay later. Their later answers wait behind it, in order.
    QSet<QPair<int, QString>> waiting;
    for (Pending &answer : queue) {
        const QPair<int, QString> key(answer.slot, answer.toUin);
        if (waiting.contains(key) || answer.dueMs > now) {
            waiting.insert(key);
            rest.append(std::move(answer));
            continue;
        }
        QString txt;
        if (answer.text.size() > PartLength) {
            ++answer.partNo;
            txt = answer.text.left(PartLength);
            answer.text.remove(0, PartLength);
            if (answer.partNo == 1)
                txt.prepend(FirstPartLead);
            answer.dueMs = now - SameTickMs + answer.intervalMs;
            waiting.insert(key);
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
    m_unstarted.clear();
    for (const Pending &answer : std::as_const(m_queue))
        if (answer.partNo == 0)
            ++m_unstarted[{answer.slot, answer.toUin}];
    m_timer.setEnabled(false);
    arm(m_clock());
}
