#pragma once

// Shared parts of the engine tests: a fresh program folder, a fixed clock, scripted
// chance, the answer timer and a recording sender; the command record form.
#include "core/clock.h"
#include "core/namedtimer.h"
#include "core/random.h"
#include "core/textfile.h"
#include "engine/answerengine.h"
#include "session/messagestate.h"
#include "support/programhome.h"

#include <QList>
#include <QVariantMap>

#include <memory>

inline const QString CrLf = QStringLiteral("\r\n");

// One command record as the command base files hold it.
inline QString rec(const QString &name, const QString &body)
{
    return QStringLiteral("Команда: ") + name + CrLf + QStringLiteral("Действие: ") + body + CrLf +
           QStringLiteral("====") + CrLf;
}

struct SentMessage
{
    int slot = 0;
    QString txt;
    QString toUin;
    bool operator==(const SentMessage &other) const
    {
        return slot == other.slot && txt == other.txt && toUin == other.toUin;
    }
};

inline char *toString(const SentMessage &m)
{
    return qstrdup(
        QStringLiteral("(slot %1 to %2: \"%3\")").arg(m.slot).arg(m.toUin, m.txt).toUtf8().constData());
}

class EngineFixture
{
public:
    EngineFixture()
        : timer1(QStringLiteral("Timer1"))
    {
        Clock::setInstance(&clock);
        Random::setInstance(&random);
        engine =
            std::make_unique<AnswerEngine>(timer1, [this](int slot, const QString &txt, const QString &to) {
                sent.append({slot, txt, to});
                return true;
            });
    }
    ~EngineFixture()
    {
        engine.reset();
        Clock::setInstance(nullptr);
        Random::setInstance(nullptr);
    }

    bool valid() const { return m_home.isValid(); }
    QString home() const { return m_home.path(); }

    // Files as program path -> content.
    static void writeFiles(const QVariantMap &files)
    {
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            TextFile::writeAll(it.key(), it.value().toString());
    }

    MessageState message(const QString &uin, const QString &text, int slot = 1) const
    {
        MessageState state;
        state.SenderUin = uin;
        state.MessageText = text;
        state.slot = slot;
        return state;
    }

    void process(const QString &uin, const QString &text, int slot = 1)
    {
        MessageState state = message(uin, text, slot);
        engine->ProcessMessage(state);
    }

    // The messages that went out during ticks of the answer timer until its queue is empty.
    QList<SentMessage> drainAnswers()
    {
        const qsizetype before = sent.size();
        for (int i = 0; i < 100 && engine->answerSender().pendingCount() > 0; ++i)
            timer1.tick();
        return sent.mid(before);
    }

    FixedClock clock;
    ScriptedRandom random;
    NamedTimer timer1;
    QList<SentMessage> sent;
    std::unique_ptr<AnswerEngine> engine;

private:
    ProgramHome m_home;
};
