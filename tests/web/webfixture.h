#pragma once

// Shared parts of the web tests: a fresh program folder, a fixed clock, scripted chance,
// the answer engine with the web sub-bots installed, and a recording sender.
#include "../engine/enginefixture.h"
#include "core/clock.h"
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/random.h"
#include "core/textfile.h"
#include "engine/answerengine.h"
#include "engine/webservices.h"
#include "testserver.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Sent = SentMessage;

inline QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(KORVANE_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class WebFixture
{
public:
    static constexpr int TimeoutMs = 4000;

    WebFixture()
        : timer1(QStringLiteral("Timer1"))
        , home(std::make_unique<QTemporaryDir>())
    {
        ProgramFolder::setHome(home->path());
        Clock::setInstance(&clock);
        Random::setInstance(&random);
        SendFunction send = [this](int slot, const QString &txt, const QString &to) {
            sent.append({slot, txt, to});
            return true;
        };
        engine = std::make_unique<AnswerEngine>(timer1, send);
        WebContext context;
        context.send = send;
        context.queueAnswer = [this](int slot, const QString &toUin, const QString &text) {
            engine->answerSender().queueAnswer(slot, toUin, text, AnswerSender::DefaultIntervalMs);
        };
        context.timeoutMs = TimeoutMs;
        services = std::make_unique<WebServices>(context);
        EngineHooks hooks;
        installWebHooks(hooks, *services);
        engine->setHooks(hooks);
    }
    ~WebFixture()
    {
        engine.reset();
        services.reset();
        Clock::setInstance(nullptr);
        Random::setInstance(nullptr);
    }

    void process(const QString &uin, const QString &text, int slot = 1)
    {
        MessageState state;
        state.SenderUin = uin;
        state.MessageText = text;
        state.slot = slot;
        engine->ProcessMessage(state);
    }

    static void setAddress(const QString &key, const QString &value)
    {
        QVERIFY(Addresses::setValues({{key, value}}));
    }

    NamedTimer timer1;
    std::unique_ptr<QTemporaryDir> home;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0))};
    ScriptedRandom random;
    QList<Sent> sent;
    std::unique_ptr<AnswerEngine> engine;
    std::unique_ptr<WebServices> services;
};
