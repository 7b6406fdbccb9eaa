#pragma once

// Shared parts of the web tests: a fresh program folder, a fixed clock, scripted chance,
// the answer engine with the web sub-bots installed, and a recording sender.
#include "core/generalsettings.h"
#include "engine/webservices.h"
#include "support/enginefixture.h"
#include "support/httpserver.h"

#include <QFile>
#include <QTest>

#include <memory>

using Sent = SentMessage;

inline QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(KORVANE_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The engine fixture with the web sub-bots installed, at a fixed noon.
class WebFixture : public EngineFixture
{
public:
    static constexpr int TimeoutMs = 4000;

    WebFixture()
    {
        clock.set(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
        WebContext context;
        context.send = [this](int slot, const QString &txt, const QString &to) {
            sent.append({slot, txt, to});
            return true;
        };
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
    }

    static void setAddress(const QString &key, const QString &value)
    {
        QVERIFY(Addresses::setValues({{key, value}}));
    }

    std::unique_ptr<WebServices> services;
};
