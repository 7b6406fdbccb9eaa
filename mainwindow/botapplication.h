#pragma once

#include "mainwindow/startup.h"

#include <QObject>

#include <memory>

class AnswerEngine;
class ExitSequence;
class Form20;
class WebMenus;
class WebServices;
class IcqSession;
class MDIForm1;
class MultiBot;

// The program's parts for one run: the ICQ session, which outlives every window,
// and the main window that hosts the windows and wires the subsystems together.
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
    AnswerEngine &engine() const { return *m_engine; }

    // Shows the main window with the login window inside it.
    void start();
    // The start-up sequence, then the start window unless the agreement window ended it.
    StartupSequence::Outcome run();

private:
    void registerWindows();
    void wireMultiBot();
    void wireEngine();
    void wireWebMenus();

    std::unique_ptr<IcqSession> m_session;
    std::unique_ptr<MDIForm1> m_mainWindow;
    ProgramState m_state;
    std::unique_ptr<StartupSequence> m_startup;
    std::unique_ptr<ExitSequence> m_exit;
    std::unique_ptr<MultiBot> m_multiBot;
    std::unique_ptr<Form20> m_popup;
    std::unique_ptr<AnswerEngine> m_engine;
    std::unique_ptr<WebServices> m_webServices;
    WebMenus *m_webMenus = nullptr; // a child of the main window
};
