#include "mainwindow/exitsequence.h"

#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "mainwindow/main_window.h"
#include "mainwindow/startup.h"
#include "session/connectionlog.h"
#include "session/icqsession.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

const QStringList ExitSequence::PerRunFiles = {
    QStringLiteral("\\Статистика\\Пользователи.txt"),
    QStringLiteral("\\Подпрограммы\\Анти_спам_список.txt"),
    QStringLiteral("\\Подпрограммы\\Анти_спам_список_правильно.txt"),
};

ExitSequence::ExitSequence(MDIForm1 &window, IcqSession &session, const ProgramState &state, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_session(session)
    , m_state(state)
    , m_endProgram([] { QCoreApplication::exit(0); })
{
    if (QAction *item = m_window.action(QStringLiteral("end_of_rogramm")))
        connect(item, &QAction::triggered, this, &ExitSequence::run);
    // Closing the main window is never refused; the sequence runs first.
    m_window.installEventFilter(this);
}

bool ExitSequence::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::Close && !m_ran) {
        // The windows inside close first, each with its own closing steps.
        m_window.mdiArea()->closeAllSubWindows();
        run();
    }
    return QObject::eventFilter(watched, event);
}

void ExitSequence::run()
{
    if (m_ran)
        return;
    m_ran = true;
    emit started();

    for (const QString &file : PerRunFiles)
        TextFile::removeMatching(file);
    TextFile::writeAll(CleanExitFile, QStringLiteral("1\r\n"));
    mergeSettings();
    logDisconnect();
    Storage::instance().flushAll();

    // Nothing may tick once the connections are gone.
    TimerRegistry &timers = m_window.timers();
    for (const QString &name : timers.names())
        timers.timer(name)->setEnabled(false);
    m_session.closeAll();

    endProgram();
}

void ExitSequence::mergeSettings()
{
    // Without the folder the start-up never ran through; nothing is written.
    if (!TextFile::folderExists(GeneralSettings::FolderPath))
        return;
    Settings::writeExitState(m_state.BotMode, m_session.CurrentStatus());
}

void ExitSequence::logDisconnect()
{
    // At exit the log is written only where its folder already exists.
    if (!TextFile::folderExists(QStringLiteral("\\Логи")))
        return;
    ConnectionLog::prepend(DisconnectText);
}

namespace {

int g_signalPipe[2] = {-1, -1};

void onExitSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = char(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
    errno = savedErrno;
}

constexpr int ExitSignalNumbers[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

ExitSignals::ExitSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) {
        qWarning("ExitSignals: cannot watch for termination signals");
        return;
    }
    // The handler must never block, even when signals pile up.
    ::fcntl(g_signalPipe[0], F_SETFL, ::fcntl(g_signalPipe[0], F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ExitSignals::onReadable);

    struct sigaction action = {};
    action.sa_handler = onExitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : ExitSignalNumbers)
        ::sigaction(number, &action, nullptr);
}

ExitSignals::~ExitSignals()
{
    if (!m_notifier)
        return;
    for (const int number : ExitSignalNumbers)
        std::signal(number, SIG_DFL);
    delete m_notifier;
    ::close(g_signalPipe[0]);
    ::close(g_signalPipe[1]);
    g_signalPipe[0] = g_signalPipe[1] = -1;
}

void ExitSignals::onReadable()
{
    char byte = 0;
    if (::read(g_signalPipe[1], &byte, 1) == 1)
        emit received(int(byte));
}
