#pragma once

#include <QObject>

#include <memory>

class IcqSession;
class MDIForm1;

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

    // Shows the main window with the login window inside it.
    void start();

private:
    void registerWindows();

    std::unique_ptr<IcqSession> m_session;
    std::unique_ptr<MDIForm1> m_mainWindow;
};
