#pragma once

#include "core/namedtimer.h"
#include "engine/answerengine.h"
#include "recordwindows/install.h"
#include "session/icqsession.h"
#include "support/mainwindowfixture.h"

// The people windows inside a real main window over a fresh program folder, boxes
// recorded, the bot offline. Test classes derive from it and call setUp()/tearDown()
// from init()/cleanup().
class PeopleWindowsFixture : public MainWindowFixture
{
protected:
    void installWindows(MDIForm1 &main) override
    {
        m_statuses.clear();
        m_session = std::make_unique<IcqSession>();
        m_timer1 = std::make_unique<NamedTimer>(QStringLiteral("Timer1"));
        m_engine = std::make_unique<AnswerEngine>(*m_timer1,
                                                  [](int, const QString &, const QString &) { return true; });
        const RecordsContext context{*m_session, *m_engine, &main,
                                     [this](int code) { m_statuses.append(code); }};
        installRecordsWindows(main, context);
    }
    void tearDown()
    {
        m_main.reset();
        m_engine.reset();
        m_timer1.reset();
        m_session.reset();
        MainWindowFixture::tearDown();
    }

    // Files by their program path ("\\Списки пользователей\\Контакты.txt").
    QByteArray bytes(const QString &programPath) const
    {
        return FileProbe::bytes(m_home->filePath(programPath));
    }
    bool write(const QString &programPath, const QByteArray &content)
    {
        return FileProbe::writeBytes(m_home->filePath(programPath), content);
    }

    // The one input box asked since the last check.
    void expectInput(const QString &title, const QString &prompt)
    {
        QCOMPARE(m_dialogs.shown.size(), 1);
        const RecordingDialogs::Shown &box = m_dialogs.shown.first();
        QCOMPARE(box.kind, RecordingDialogs::Kind::Input);
        QCOMPARE(box.title, title);
        QCOMPARE(box.text, prompt);
        m_dialogs.shown.clear();
    }

    std::unique_ptr<IcqSession> m_session;
    std::unique_ptr<NamedTimer> m_timer1;
    std::unique_ptr<AnswerEngine> m_engine;
    QList<int> m_statuses; // what the status window set
};
