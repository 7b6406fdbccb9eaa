#include "engine/answerengine.h"

#include "commands/commandbase.h"
#include "files/adminfile.h"
#include "files/groupnumbers.h"
#include "core/cp1251.h"
#include "core/generalsettings.h"
#include "core/namedtimer.h"
#include "core/programfolder.h"
#include "core/random.h"
#include "core/softassert.h"
#include "core/textfile.h"
#include "files/redirectfile.h"
#include "files/signaturefile.h"
#include "core/vbvalues.h"
#include "engine/httpget.h"
#include "records/messagerecords.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <iterator>
#include <utility>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString AutoResponderPath = QStringLiteral("\\Настройки\\Автоответчик.txt");
const QString PowerOffWord = QStringLiteral("!выключить");
const QString RebootWord = QStringLiteral("!перезагрузить");
constexpr int MaxPieces = 10000;

bool modeIs(const QString &text, double value)
{
    return VbValues::holdsNumber(text, value);
}

// Lines joined by CR LF; empty lines before the first text line are dropped.
QString joinFromLine(const QStringList &lines, qsizetype from)
{
    QString joined;
    for (qsizetype i = from; i < lines.size(); ++i) {
        if (joined.isEmpty())
            joined = lines.at(i);
        else
            joined += CrLf + lines.at(i);
    }
    return joined;
}

// A file named in a record: an absolute path stands as it is, anything else is a path
// inside the program folder.
QString readNamedFile(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (QDir::isAbsolutePath(path) && path.startsWith(QLatin1Char('/')))
        return TextFile::readAll(TextFile::Absolute{path});
    return TextFile::readAll(path);
}

// The text after the first blank of a labelled line ("Тип: 2" -> "2").
QString labelValue(const QString &line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : line.mid(blank + 1);
}

// Answers separated by lines that hold only the separator.
QStringList splitPieces(QString pool, const QString &separator)
{
    QStringList pieces;
    if (separator.isEmpty()) {
        if (pool.endsWith(CrLf))
            pool.chop(CrLf.size());
        if (!pool.isEmpty())
            pieces.append(pool);
        return pieces;
    }
    QStringView rest(pool);
    while (pieces.size() < MaxPieces) {
        const qsizetype at = rest.indexOf(separator);
        if (at < 0) {
            QStringView last = rest;
            if (last.endsWith(CrLf))
                last.chop(CrLf.size());
            if (!last.isEmpty() && last != separator)
                pieces.append(last.toString());
            break;
        }
        QStringView piece = rest.left(at);
        if (piece.endsWith(CrLf))
            piece.chop(CrLf.size());
        pieces.append(piece.toString());
        rest = rest.mid(at + separator.size());
        if (rest.startsWith(CrLf))
            rest = rest.mid(CrLf.size());
    }
    return pieces;
}

} // namespace

// The pipeline, in its order. Each stage sees the message's own state.
const AnswerEngine::NamedStage AnswerEngine::s_stages[] = {
    {"power commands", &AnswerEngine::stagePowerCommands},
    {"additional answers", &AnswerEngine::stageAddAnswer},
    {"clear reply", &AnswerEngine::stageClearReply},
    {"anti-spam", &AnswerEngine::stageAntiSpam},
    {"mirror", &AnswerEngine::stageMirror},
    {"auto-responder", &AnswerEngine::stageAutoResponder},
    {"vote", &AnswerEngine::stageVote},
    {"services", &AnswerEngine::stageServices},
    {"chat", &AnswerEngine::stageChat},
    {"redirect", &AnswerEngine::stageRedirect},
    {"sound", &AnswerEngine::stageSound},
    {"statistics", &AnswerEngine::stageStatistics},
    {"command base options", &AnswerEngine::stageOptions},
    {"popup", &AnswerEngine::stagePopup},
    {"group answer", &AnswerEngine::stageGroupAnswer},
    {"common answer", &AnswerEngine::stageCommonAnswer},
    {"unknown command", &AnswerEngine::stageUnknownCommand},
    {"signature", &AnswerEngine::stageSignature},
    {"answer timer", &AnswerEngine::stageAnswerTimer},
};

AnswerEngine::AnswerEngine(NamedTimer &timer1, SendFunction send, QObject *parent)
    : QObject(parent)
    , m_send(std::move(send))
    , m_sender(timer1, m_send)
    , m_network(new QNetworkAccessManager(this))
{}

AnswerEngine::~AnswerEngine()
{
    // Downloads must not call back into a half-destroyed engine; a destroyed get reports nothing.
    for (auto &[id, deferred] : m_deferred)
        delete std::exchange(deferred.download, nullptr);
}

void AnswerEngine::ProcessMessage(MessageState &state)
{
    Run run{state, CommandOptions{}};
    runStages(run, &AnswerEngine::stagePowerCommands);
}

void AnswerEngine::runStages(Run &run, StageFn from)
{
    const NamedStage *stage = std::begin(s_stages);
    while (stage != std::end(s_stages) && stage->fn != from)
        ++stage;
    KORVANE_ASSERT(stage != std::end(s_stages), return );
    for (; stage != std::end(s_stages); ++stage) {
        switch ((this->*stage->fn)(run)) {
        case StageOutcome::Continue:
            break;
        case StageOutcome::Stop:
            return;
        case StageOutcome::SendNow:
            stageAnswerTimer(run);
            return;
        }
    }
}

StageOutcome AnswerEngine::runHook(const EngineHooks::Stage &hook, MessageState &state)
{
    return hook ? hook(state) : StageOutcome::Continue;
}

void AnswerEngine::sendDirect(const MessageState &state, const QString &txt, const QString &toUin)
{
    if (m_send)
        m_send(state.slot, txt, toUin);
}

StageOutcome AnswerEngine::stagePowerCommands(Run &run)
{
    const MessageState &state = run.state;
    const qsizetype colon = state.MessageText.indexOf(QLatin1Char(':'));
    const QString word = colon < 0 ? state.MessageText : state.MessageText.left(colon);
    int kind = 0;
    if (word == PowerOffWord)
        kind = 1;
    else if (word == RebootWord)
        kind = 2;
    if (kind == 0 || !m_hooks.shutdownSystem)
        return StageOutcome::Continue;

    const AdminFile::Contents admin = AdminFile::read();
    const QString &password = admin.password;
    if (admin.number.isEmpty() || state.SenderUin != admin.number)
        return StageOutcome::Continue;
    const QString given = colon < 0 ? state.MessageText : state.MessageText.mid(colon + 1);
    if (!password.isEmpty() && given != password)
        return StageOutcome::Continue;
    m_hooks.shutdownSystem(kind);
    return StageOutcome::Stop;
}

StageOutcome AnswerEngine::stageAddAnswer(Run &run)
{
    return runHook(m_hooks.addAnswerVariant, run.state);
}

StageOutcome AnswerEngine::stageClearReply(Run &run)
{
    run.state.ReplyText.clear();
    return StageOutcome::Continue;
}

StageOutcome AnswerEngine::stageAntiSpam(Run &run)
{
    return runHook(m_hooks.checkAntiSpam, run.state);
}

StageOutcome AnswerEngine::stageMirror(Run &run)
{
    if (!modeIs(m_botMode, 3))
        return StageOutcome::Continue;
    sendDirect(run.state, run.state.MessageText, run.state.SenderUin);
    return StageOutcome::Stop;
}

StageOutcome AnswerEngine::stageAutoResponder(Run &run)
{
    if (!modeIs(m_botMode, 2))
        return StageOutcome::Continue;
    MessageState &state = run.state;
    state.ReplyText = joinFromLine(TextFile::readLines(AutoResponderPath), 1);
    sendDirect(state, state.ReplyText, state.SenderUin);
    return StageOutcome::Stop;
}

StageOutcome AnswerEngine::stageVote(Run &run)
{
    return runHook(m_hooks.handleVote, run.state);
}

StageOutcome AnswerEngine::stageServices(Run &run)
{
    const EngineHooks::Stage *services[] = {&m_hooks.handleWeatherRequest, &m_hooks.handleQuotationRequest,
                                            &m_hooks.handleCurrencyRequest, &m_hooks.handleAdminContact,
                                            &m_hooks.handleNotepad};
    for (const EngineHooks::Stage *service : services) {
        const StageOutcome outcome = runHook(*service, run.state);
        if (outcome != StageOutcome::Continue)
            return outcome;
    }
    return StageOutcome::Continue;
}

StageOutcome AnswerEngine::stageChat(Run &run)
{
    const StageOutcome outcome = runHook(m_hooks.handleChatMessage, run.state);
    // The outcome says whether the chat took the message; its own flag is only lowered.
    run.state.MessageHandled = false;
    return outcome;
}

StageOutcome AnswerEngine::stageRedirect(Run &run)
{
    const RedirectFile::Contents redirect = RedirectFile::read();
    if (!redirect.redirects())
        return StageOutcome::Continue;
    const MessageState &state = run.state;
    sendDirect(state,
               QStringLiteral("Вам написал : ") + state.SenderUin + CrLf + QStringLiteral("Сообщение : ") +
                   state.MessageText,
               redirect.target);
    return redirect.forwardOnly() ? StageOutcome::Stop : StageOutcome::Continue;
}

StageOutcome AnswerEngine::stageSound(Run &run)
{
    return runHook(m_hooks.playEventSound, run.state);
}

StageOutcome AnswerEngine::stageStatistics(Run &run)
{
    if (RecordStatistics(run.state))
        Q_EMIT userListChanged();
    return StageOutcome::Continue;
}

StageOutcome AnswerEngine::stageOptions(Run &run)
{
    run.options = CommandOptions::load();
    if (!run.options.trim)
        return StageOutcome::Continue;
    QString &text = run.state.MessageText;
    const qsizetype lineBreak = text.indexOf(CrLf);
    if (lineBreak >= 0)
        text.truncate(lineBreak);
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return StageOutcome::Continue;
}

StageOutcome AnswerEngine::stagePopup(Run &run)
{
    return runHook(m_hooks.showMessagePopup, run.state);
}

StageOutcome AnswerEngine::stageGroupAnswer(Run &run)
{
    MessageState &state = run.state;
    const QString group = GroupNumbers::groupOf(state.SenderUin);
    if (run.options.upperCase)
        state.MessageText = VbValues::upperCase(state.MessageText);
    if (group.isEmpty() || group == CommandBase::CommonGroup)
        return StageOutcome::Continue;
    const QString path = CommandBase::groupFilePath(group);
    if (path.isEmpty())
        return StageOutcome::Continue;
    const std::optional<QString> body =
        CommandBase::findBody(TextFile::readAll(path), state.MessageText, run.options.upperCase);
    if (!body)
        return StageOutcome::Continue;
    if (VbValues::upperCase(CommandBase::kindLine(*body)) == BotInformation::Request) {
        state.ReplyText = BotInformation::answer();
        return StageOutcome::SendNow;
    }
    const std::optional<QString> answer = answerFromBody(run, *body, Source::Group);
    if (!answer)
        return StageOutcome::Stop;
    if (!answer->isEmpty())
        state.ReplyText = *answer;
    return StageOutcome::Continue;
}

StageOutcome AnswerEngine::stageCommonAnswer(Run &run)
{
    MessageState &state = run.state;
    if (!run.options.joint && !state.ReplyText.isEmpty())
        return StageOutcome::Continue;
    const QString text = TextFile::readAll(CommandBase::groupFilePath(CommandBase::CommonGroup));
    if (text.isEmpty())
        return StageOutcome::Continue;

    const qsizetype lineBreak = state.MessageText.indexOf(CrLf);
    const QString firstLine = lineBreak > 0 ? state.MessageText.left(lineBreak) : state.MessageText;
    if (VbValues::upperCase(firstLine) == BotInformation::Request) {
        state.ReplyText = BotInformation::answer();
        return StageOutcome::SendNow;
    }

    QString common;
    if (const std::optional<QString> body =
            CommandBase::findBody(text, state.MessageText, run.options.upperCase)) {
        const std::optional<QString> answer = answerFromBody(run, *body, Source::Common);
        if (!answer)
            return StageOutcome::Stop;
        common = *answer;
    }
    combine(state, common, run.options.joint);
    return StageOutcome::Continue;
}

void AnswerEngine::combine(MessageState &state, const QString &commonAnswer, bool joint)
{
    if (state.ReplyText.isEmpty())
        state.ReplyText = commonAnswer;
    else if (joint)
        state.ReplyText += CrLf + CrLf + CommonSeparator + CrLf + CrLf + commonAnswer;
}

StageOutcome AnswerEngine::stageUnknownCommand(Run &run)
{
    MessageState &state = run.state;
    if (!state.ReplyText.isEmpty())
        return StageOutcome::Continue;
    state.ReplyText = UnknownCommand::replyText();
    TextFile::appendLine(Records::UnknownLogPath, state.SenderUin + QStringLiteral(": ") + state.MessageText);
    return StageOutcome::Continue;
}

StageOutcome AnswerEngine::stageSignature(Run &run)
{
    const SignatureFile::Contents signatures = SignatureFile::read();
    if (!signatures.on)
        return StageOutcome::Continue;
    const QString signature = Random::instance().pick(signatures.signatures.mid(0, MaxPieces));
    if (signature.isEmpty())
        return StageOutcome::Continue;
    run.state.ReplyText = SignatureFile::withSignature(run.state.ReplyText, signatures.separator, signature);
    return StageOutcome::Continue;
}

void AnswerEngine::queueAnswer(int slot, const QString &toUin, const QString &text)
{
    m_sender.queueAnswer(slot, toUin, text, answerInterval());
}

int AnswerEngine::answerInterval() const
{
    return Settings::read().answerDelayMs();
}

StageOutcome AnswerEngine::stageAnswerTimer(Run &run)
{
    const MessageState &state = run.state;
    m_sender.queueAnswer(state.slot, state.SenderUin, state.ReplyText, answerInterval());
    Q_EMIT answerQueued(state.slot, state.SenderUin, state.ReplyText);
    return StageOutcome::Stop;
}

// --- answer kinds --------------------------------------------------------------------

std::optional<QString> AnswerEngine::answerFromBody(Run &run, const QString &body, Source source)
{
    switch (CommandBase::kindOf(body)) {
    case CommandBase::AnswerKind::Text:
        return body;
    case CommandBase::AnswerKind::File:
        return readNamedFile(CommandBase::bodyLine(body, 2));
    case CommandBase::AnswerKind::Random:
        return randomAnswer(body);
    case CommandBase::AnswerKind::Download:
        startDownload(run, source, CommandBase::bodyLine(body, 2));
        return std::nullopt;
    case CommandBase::AnswerKind::Program:
        startProgram(run, source, body);
        return std::nullopt;
    }
    return body;
}

QString AnswerEngine::randomAnswer(const QString &body)
{
    const QString type = labelValue(CommandBase::bodyLine(body, 2));
    qint32 count = 0;
    VbValues::toInt32(labelValue(CommandBase::bodyLine(body, 3)), count);
    count = qMin(count, qint32(MaxRandomPicks));
    const QString separatorLine = CommandBase::bodyLine(body, 4);
    const qsizetype stars = separatorLine.indexOf(QStringLiteral("**"));
    const QString separator = stars < 0 ? separatorLine : separatorLine.left(stars);

    QString pool;
    if (type == QLatin1String("1")) {
        pool = readNamedFile(CommandBase::bodyLine(body, 5));
    } else {
        // Everything after the fourth line.
        qsizetype at = 0;
        for (int line = 0; line < 4 && at >= 0; ++line) {
            at = body.indexOf(CrLf, at);
            if (at >= 0)
                at += CrLf.size();
        }
        if (at >= 0)
            pool = body.mid(at);
    }
    const QStringList pieces = splitPieces(pool, separator);
    if (pieces.isEmpty())
        return {};
    QStringList picks;
    for (qint32 i = 0; i < count; ++i)
        picks.append(Random::instance().pick(pieces));
    return picks.join(CrLf);
}

bool AnswerEngine::refuseDeferred(const Run &run, Source source)
{
    const MessageState &state = run.state;
    int total = 0;
    int mine = 0;
    for (const auto &[id, deferred] : m_deferred) {
        ++total;
        if (deferred.state.slot == state.slot && deferred.state.SenderUin == state.SenderUin)
            ++mine;
    }
    if (mine < MaxDeferredPerUser && total < MaxDeferredAnswers)
        return false;
    // A few downloads or programs per user, and a bounded number in all: a user repeating
    // such a command gets the empty answer at once instead of piling up work.
    QTimer::singleShot(0, this, [this, state, options = run.options, source] {
        resume(state, options, source, QString());
    });
    return true;
}

void AnswerEngine::startDownload(const Run &run, Source source, const QString &url)
{
    if (refuseDeferred(run, source))
        return;
    const quint64 id = m_nextDeferredId++;
    m_deferred.emplace(id,
                       Deferred{run.state, run.options, source, nullptr, url, QDeadlineTimer(m_downloadTimeoutMs)});
    tryDownload(id);
}

void AnswerEngine::tryDownload(quint64 id)
{
    const auto it = m_deferred.find(id);
    KORVANE_ASSERT(it != m_deferred.end(), return );
    Deferred &deferred = it->second;
    // Each try is bounded by what is left of the whole wait.
    const int leftMs = int(qMax<qint64>(1, deferred.giveUp.remainingTime()));
    deferred.download = HttpGet::run(*m_network, QUrl(deferred.url),
                                     HttpGet::Limits{.timeoutMs = leftMs, .maxBytes = MaxDownloadBytes}, this,
                                     [this, id](const HttpGet::Result &result) {
                                         // An address that is no web address never will be.
                                         finishDownload(id, result.body,
                                                        result.error == HttpGet::Error::BadAddress);
                                     });
}

void AnswerEngine::finishDownload(quint64 id, const QByteArray &bytes, bool hopeless)
{
    const auto it = m_deferred.find(id);
    KORVANE_ASSERT(it != m_deferred.end(), return );
    it->second.download = nullptr; // deletes itself
    if (bytes.isEmpty() && !hopeless && it->second.giveUp.remainingTime() > m_downloadRetryMs) {
        QTimer::singleShot(m_downloadRetryMs, this, [this, id] {
            if (m_deferred.count(id))
                tryDownload(id);
        });
        return;
    }
    Deferred deferred = std::move(it->second);
    m_deferred.erase(it);
    // A failed download answers empty; it never serves an older file.
    QString answer;
    if (!bytes.isEmpty()) {
        TextFile::writeBytes(DownloadedAnswerPath, bytes);
        answer = Cp1251::decode(bytes);
    }
    resume(std::move(deferred.state), deferred.options, deferred.source, answer);
}

void AnswerEngine::startProgram(const Run &run, Source source, const QString &body)
{
    if (refuseDeferred(run, source))
        return;
    QStringList arguments = QProcess::splitCommand(CommandBase::bodyLine(body, 2));
    qint32 waitSecs = 0;
    VbValues::toInt32(CommandBase::bodyLine(body, 3), waitSecs);
    waitSecs = qBound(0, waitSecs, MaxProgramWaitSecs);
    const QString outputFile = CommandBase::bodyLine(body, 4);

    if (!arguments.isEmpty()) {
        QString program = arguments.takeFirst();
        if (!QDir::isAbsolutePath(program) &&
            (program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\'))))
            program = ProgramFolder::path(program);
        auto *process = new QProcess(this);
        process->setWorkingDirectory(ProgramFolder::home());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
        connect(process, &QProcess::finished, process, &QObject::deleteLater);
        connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                process->deleteLater();
        });
        process->start(program, arguments);
    }

    const quint64 id = m_nextDeferredId++;
    m_deferred.emplace(id, Deferred{run.state, run.options, source, nullptr, {}, {}});
    QTimer::singleShot(waitSecs * 1000, this, [this, id, outputFile] {
        const auto it = m_deferred.find(id);
        KORVANE_ASSERT(it != m_deferred.end(), return );
        Deferred deferred = std::move(it->second);
        m_deferred.erase(it);
        QString answer = readNamedFile(outputFile);
        if (answer.isEmpty() && deferred.source == Source::Common)
            answer = EmptyProgramOutput;
        resume(std::move(deferred.state), deferred.options, deferred.source, answer);
    });
}

void AnswerEngine::resume(MessageState state, CommandOptions options, Source source, const QString &answer)
{
    // The resumed answer goes on with the options its message's run read.
    Run run{state, options};
    if (source == Source::Group) {
        state.ReplyText = answer;
        runStages(run, &AnswerEngine::stageCommonAnswer);
    } else {
        // The group's answer, if the run had one, stays in front of the common answer.
        combine(state, answer, options.joint);
        runStages(run, &AnswerEngine::stageUnknownCommand);
    }
}
