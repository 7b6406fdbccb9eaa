#pragma once

#include "mainwindow/startup.h"

#include <QObject>

#include <memory>

class AnswerEngine;
class ExitSequence;
class IcqSession;
class MDIForm1;
class MultiBot;
class WebMenus;
struct ChatParts;
struct ModerationParts;
struct EngineParts;

// The program's parts for one run: the ICQ session, which outlives every window,
// and the main window that hosts the windows. Each subsystem puts its windows, timers
// and stages in place through its own install function; this class only calls them.
class BotApplication : public QObject
{
    Q_OBJECT
public:
    explicit BotApplication(QObject *parent = nullptr);
    ~BotApplication() override;

    IcqSession &session() const { return *m_session; }
    MDIForm1 &mainWindow() const { return *m_mainWindow; }
    ProgramState &state() { return m_state; }
    StartupSequence &startup() const { return *m_startup; }
    ExitSequence &exitSequence() const { return *m_exit; }
    MultiBot &multiBot() const { return *m_multiBot; }
    AnswerEngine &engine() const;
    ChatParts &chat() const { return *m_chat; }
    ModerationParts &moderation() const { return *m_moderation; }

    // Shows the main window with the login window inside it.
    void start();
    // The start-up sequence, then the start window unless the agreement window ended it.
    StartupSequence::Outcome run();

private:
    std::unique_ptr<IcqSession> m_session;
    std::unique_ptr<MDIForm1> m_mainWindow;
    ProgramState m_state;
    std::unique_ptr<StartupSequence> m_startup;
    std::unique_ptr<ExitSequence> m_exit;
    std::unique_ptr<EngineParts> m_engine;
    std::unique_ptr<MultiBot> m_multiBot;
    std::unique_ptr<ChatParts> m_chat;
    std::unique_ptr<ModerationParts> m_moderation;
    WebMenus *m_webMenus = nullptr; // a child of the main window
};
