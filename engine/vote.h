#pragma once

#include "engine/answerengine.h"
#include "files/votefile.h"

#include <QString>
#include <QStringList>

// The operator's vote: "ГОЛОСОВАНИЕ" asks for it, and from then on every message of that
// user is his answer until he picks an option or cancels. Who voted, who is asked and
// the results live in files, so a vote survives a restart.
class Vote
{
public:
    static inline const QString DefinitionPath = VoteFile::DefinitionPath;
    static inline const QString PendingPath = VoteFile::PendingPath;
    static inline const QString VotersPath = VoteFile::VotersPath;
    static inline const QString ResultsPath = VoteFile::ResultsPath;
    static inline const QString AskWord = QStringLiteral("ГОЛОСОВАНИЕ");
    static inline const QString CancelWord = QStringLiteral("!ОТМЕНА ГОЛОСОВАНИЯ");
    static inline const QString CancelHint = QStringLiteral(
        "Если вы не хотите голосвать, то пришлите команду '!отмена голосования' (без кавычек)");
    static inline const QString CancelledText = QStringLiteral("Вы отказались голосвать.");
    static inline const QString ThanksText = QStringLiteral("Спасибо за голос");
    static inline const QString NotSavedText = QStringLiteral("Не удалось сохранить ваш голос, попробуйте позже.");
    static inline const QString NoSuchOptionText =
        QStringLiteral("Такого варианта нет, попробуйте ответить ещё раз.\r\n") + CancelHint;

    using Definition = VoteFile::Definition;

    explicit Vote(SendFunction send);

    // The running vote; nullopt when none is defined.
    static std::optional<Definition> definition();
    static QString voteText(const Definition &definition);

    // Stop when the dialogue took the message (the sender has had his reply).
    StageOutcome HandleVote(MessageState &state);

private:
    void cancel(const MessageState &state);

    SendFunction m_send;
};
