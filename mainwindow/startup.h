#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class IcqSession;
class MDIForm1;
class QWidget;

// The program state the start-up restores and the running bot and the exit read.
struct ProgramState
{
    QString BotMode; // "1" commands, "2" auto-responder, "3" mirror; empty until restored
    quint8 AgreementAccepted = 0;
    quint8 AutoEnterOn = 0;
    bool HideAfterLogin = false;  // hide the windows after the next login
    qint16 ReconnectInterval = 0; // minutes between watchdog probes; 0 = no probes
};

// What the main window does when it is created, before the operator can work: checks
// the bot numbers, cleans up after an unclean end, insists on the agreement, creates
// the data folders, restores the settings and logs in by itself, and opens what the
// operator chose to see at start.
class StartupSequence : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        NoDistributionList, // the box and the settings on the bot numbers page
        AgreementShown,     // the agreement window ends the program from there
        Unreadable,         // a file the start-up relies on cannot be read: the box says which, the program ends
        Completed,
    };

    // answered(true) for Yes. The default asks Dialogs::instance() and waits for it;
    // the program installs one that does not block.
    using Question = std::function<void(const QString &title, const QString &text,
                                        std::function<void(bool yes)> answered)>;

    struct Hooks
    {
        std::function<void()> checkForUpdate;   // AutoUpdate holds 1; nothing until the update check exists
        std::function<void()> playStartupSound; // PlaySounds holds 0; default: the start-up sound
        std::function<void()> hideToTray;       // ReConnect holds 1; nothing until the tray exists
        Question askQuestion;
        // The chat's per-run files, each left to the chat: cleanUpChat deletes them after
        // an unclean end, restoreChat arms what the chat restores at start (after the
        // settings). Nothing until the chat exists.
        std::function<void()> cleanUpChat;
        std::function<void()> restoreChat;
    };

    static inline const QString CleanExitFile = QStringLiteral("\\Выход.txt");
    static inline const QString UnreadableTitle = QStringLiteral("Ошибка");
    // %1 is the file's full path.
    static inline const QString UnreadableText = QStringLiteral(
        "Не удалось прочитать файл %1. Проверьте права доступа к нему и запустите программу снова.");

    static inline const QString TutorialTitle = QStringLiteral("Помощь");
    static inline const QString TutorialText =
        QStringLiteral("Вы запустили программу в первый раз. Хотите ли Вы пройти обучение?");
    static inline const QString TutorialLaterTitle = QStringLiteral("Обучение");
    static inline const QString TutorialLaterText = QStringLiteral(
        "Если Вы захотите пройти обучение, нажмите на меню 'О программе', далее нажмите 'Пройти обучение'");

    // The windows step 8 opens, by the line of the auto-open file.
    static const QStringList AutoOpenWindows;
    // The data folders, in the order they are created.
    static const QStringList DataFolders;

    StartupSequence(MDIForm1 &window, IcqSession &session, ProgramState &state, QObject *parent = nullptr);

    Hooks &hooks() { return m_hooks; }

    // Runs the sequence once; returns how it ended.
    Outcome run();

    // Question boxes that return at once and answer when the operator clicks; each box
    // belongs to parent and goes when answered.
    static Question questionWithoutBlocking(QWidget *parent);

    // After run(): the slot the stored login started on, 0 when none started.
    int autoLoginSlot() const { return m_autoLoginSlot; }

private:
    void noDistributionList();
    void unreadable(const QString &programPath);
    void cleanUpAfterUncleanEnd();
    bool agreementAccepted();
    void createFolders();
    // false when the start-up must end (the list check of the auto-login failed).
    // reconnectOn: ReConnect holds 1 (the start then goes to the tray).
    bool loadSettings(bool &reconnectOn);
    bool autoLogin(const QString &scrambledNumber, const QString &scrambledPassword);
    void restoreBotMode();
    void offerTutorial();
    void openChosenWindows();
    void purgeBlacklist();
    void playStartupSound();

    MDIForm1 &m_window;
    IcqSession &m_session;
    ProgramState &m_state;
    Hooks m_hooks;
    int m_autoLoginSlot = 0;
};
