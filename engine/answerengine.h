#pragma once

#include "commands/commandsettings.h"
#include "engine/answersender.h"
#include "session/messagestate.h"
#include "session/stageoutcome.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <optional>

class NamedTimer;
class HttpGet;
class QNetworkAccessManager;

// Stages whose features live elsewhere. An empty hook takes nothing: the message goes on.
struct EngineHooks
{
    using Stage = std::function<StageOutcome(MessageState &)>;

    // 1 power off, 2 reboot; called only for the administrator's authorised command.
    std::function<void(int kind)> shutdownSystem;
    Stage addAnswerVariant; // "!add"
    Stage checkAntiSpam;
    Stage handleVote;
    Stage handleWeatherRequest;
    Stage handleQuotationRequest; // SendNow with the quotations in ReplyText
    Stage handleCurrencyRequest;
    Stage handleAdminContact;
    Stage handleNotepad;
    // Stop when the chat took the message (the chat's MessageHandled is lowered after it,
    // and is no report of its own); may leave an answer in ReplyText.
    Stage handleChatMessage;
    Stage playEventSound;
    Stage showMessagePopup;
};

// The answer engine: turns one incoming message into an answer, stage by stage, over the
// message's own MessageState. Answers go to the AnswerSender (Timer1); direct replies
// and forwards go out through the send function at once.
class AnswerEngine : public QObject
{
    Q_OBJECT
public:
    // An empty or failed download is tried again every DownloadRetryMs until
    // DownloadTimeoutMs after the message; then the empty answer goes. An address that
    // is no http or https address is never fetched: the empty answer goes at once.
    static constexpr int DownloadTimeoutMs = 20000;
    static constexpr int DownloadRetryMs = 1000;
    static constexpr qint64 MaxDownloadBytes = 4 * 1024 * 1024;
    // Downloads and programs under way at once, for one user and for all together.
    static constexpr int MaxDeferredPerUser = 3;
    static constexpr int MaxDeferredAnswers = 16;
    static constexpr int MaxProgramWaitSecs = 3600;
    static constexpr int MaxRandomPicks = 10000;
    static inline const QString CommonSeparator = QStringLiteral("---Ответ из общей группы---");
    static inline const QString EmptyProgramOutput =
        QStringLiteral("Файл с ответом либо пуст, либо его нет. Обратитесь к админстратору.");
    static inline const QString DownloadedAnswerPath = QStringLiteral("\\otv.txt");

    // timer1 is the main window's answer timer (not owned; must outlive the engine).
    AnswerEngine(NamedTimer &timer1, SendFunction send, QObject *parent = nullptr);
    ~AnswerEngine() override;

    void setHooks(const EngineHooks &hooks) { m_hooks = hooks; }
    const EngineHooks &hooks() const { return m_hooks; }
    // "3" mirror, "2" auto-responder, anything else commands.
    void setBotMode(const QString &mode) { m_botMode = mode; }
    QString botMode() const { return m_botMode; }
    void setDownloadTimeout(int ms) { m_downloadTimeoutMs = ms; }
    void setDownloadRetryInterval(int ms) { m_downloadRetryMs = ms; }

    // Runs the pipeline on the message. SenderUin and MessageText must be set. The bans
    // are checked before, by the incoming reader (addEngineHooks), ahead of the
    // distribution and the message log.
    void ProcessMessage(MessageState &state);

    // Hands a text to the answer timer for the user and slot that asked, with the
    // answer delay the operator set (for answers that arrive later, such as feeds).
    void queueAnswer(int slot, const QString &toUin, const QString &text);
    AnswerSender &answerSender() { return m_sender; }
    // Download and program answers still being made.
    int pendingDeferred() const { return int(m_deferred.size()); }

Q_SIGNALS:
    // An answer went to the answer timer's queue.
    void answerQueued(int slot, const QString &toUin, const QString &text);
    // A new number went into "\Статистика\Пользователи.txt"; an open user list refreshes.
    void userListChanged();

private:
    struct Run
    {
        MessageState &state;
        CommandOptions options;
    };
    using StageFn = StageOutcome (AnswerEngine::*)(Run &);
    struct NamedStage
    {
        const char *name;
        StageFn fn;
    };
    enum class Source { Group, Common };
    struct Deferred
    {
        MessageState state;
        // The options of the message's own run; the resumed answer follows them.
        CommandOptions options;
        Source source = Source::Group;
        HttpGet *download = nullptr; // the try under way
        QString url;
        QDeadlineTimer giveUp;
    };

    // Runs the stages from the one with fn on, to the end or the first stop.
    void runStages(Run &run, StageFn from);
    StageOutcome runHook(const EngineHooks::Stage &hook, MessageState &state);

    StageOutcome stagePowerCommands(Run &run);
    StageOutcome stageAddAnswer(Run &run);
    StageOutcome stageClearReply(Run &run);
    StageOutcome stageAntiSpam(Run &run);
    StageOutcome stageMirror(Run &run);
    StageOutcome stageAutoResponder(Run &run);
    StageOutcome stageVote(Run &run);
    StageOutcome stageServices(Run &run);
    StageOutcome stageChat(Run &run);
    StageOutcome stageRedirect(Run &run);
    StageOutcome stageSound(Run &run);
    StageOutcome stageStatistics(Run &run);
    StageOutcome stageOptions(Run &run);
    StageOutcome stagePopup(Run &run);
    StageOutcome stageGroupAnswer(Run &run);
    StageOutcome stageCommonAnswer(Run &run);
    StageOutcome stageUnknownCommand(Run &run);
    StageOutcome stageSignature(Run &run);
    StageOutcome stageAnswerTimer(Run &run);

    // The answer of a record body; nullopt when a deferred answer was started.
    std::optional<QString> answerFromBody(Run &run, const QString &body, Source source);
    QString randomAnswer(const QString &body);
    // True (and the empty answer follows) when the user already waits for enough
    // deferred answers or too many are under way.
    bool refuseDeferred(const Run &run, Source source);
    void startDownload(const Run &run, Source source, const QString &url);
    void startProgram(const Run &run, Source source, const QString &body);
    void resume(MessageState state, CommandOptions options, Source source, const QString &answer);
    void combine(MessageState &state, const QString &commonAnswer, bool joint);
    void tryDownload(quint64 id);
    void finishDownload(quint64 id, const QByteArray &bytes, bool hopeless);

    int answerInterval() const;
    void sendDirect(const MessageState &state, const QString &txt, const QString &toUin);

    static const NamedStage s_stages[];

    SendFunction m_send;
    AnswerSender m_sender;
    EngineHooks m_hooks;
    QString m_botMode;
    int m_downloadTimeoutMs = DownloadTimeoutMs;
    int m_downloadRetryMs = DownloadRetryMs;
    QNetworkAccessManager *m_network = nullptr;
    std::map<quint64, Deferred> m_deferred;
    quint64 m_nextDeferredId = 1;
};
