#pragma once

#include "session/connectionlog.h"

#include <QObject>
#include <QStringList>

#include <functional>

class IcqSession;
class MDIForm1;
class QSocketNotifier;
struct ProgramState;

// The one orderly end of the program: the per-run files go, the clean-exit marker and
// the bot mode and status are kept, the disconnection is logged, every connection is
// closed and the program ends. The menu item, closing the main window and the
// termination signals all run it; it runs once.
class ExitSequence : public QObject
{
    Q_OBJECT
public:
    static inline const QString CleanExitFile = QStringLiteral("\\Выход.txt");
    static inline const QString DisconnectText = ConnectionLog::LogOffText;
    // Deleted in this order, after started(): the chat's own per-run files go with the
    // chat's clean-up, which the program connects to started().
    static const QStringList PerRunFiles;

    ExitSequence(MDIForm1 &window, IcqSession &session, const ProgramState &state, QObject *parent = nullptr);

    // How the program is ended; tests put their own in. The default leaves the event loop.
    void setEndProgram(std::function<void()> endProgram) { m_endProgram = std::move(endProgram); }
    // Ends the program without the exit sequence, for a start that cannot go on.
    void endProgram() const
    {
        if (m_endProgram)
            m_endProgram();
    }

    bool hasRun() const { return m_ran; }

    // Runs the sequence; a second call does nothing.
    void run();

signals:
    // The sequence has begun (its steps follow at once).
    void started();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void mergeSettings();
    void logDisconnect();

    MDIForm1 &m_window;
    IcqSession &m_session;
    const ProgramState &m_state;
    std::function<void()> m_endProgram;
    bool m_ran = false;
};

// SIGTERM, SIGINT and SIGHUP turned into a Qt signal on the event loop, through a
// self-pipe (a signal handler may do next to nothing). One instance per process.
class ExitSignals : public QObject
{
    Q_OBJECT
public:
    explicit ExitSignals(QObject *parent = nullptr);
    ~ExitSignals() override;

signals:
    void received(int signalNumber);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
};
