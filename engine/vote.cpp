#include "engine/vote.h"

#include "core/listfile.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "engine/servicetext.h"

#include <utility>

using ServiceText::CrLf;

Vote::Vote(SendFunction send)
    : m_send(std::move(send))
{}

std::optional<Vote::Definition> Vote::definition()
{
    return VoteFile::read();
}

QString Vote::voteText(const Definition &definition)
{
    return definition.question + CrLf + CrLf + QStringLiteral("Варианты:") + CrLf +
           definition.options.join(CrLf) + CrLf + CrLf + CancelHint;
}

StageOutcome Vote::HandleVote(MessageState &state)
{
    // Whole lines: 123 is not 1234.
    if (TextFile::readLines(VotersPath).contains(state.SenderUin))
        return StageOutcome::Continue;
    const std::optional<Definition> vote = definition();
    if (!vote)
        return StageOutcome::Continue;

    const QString answer = VbValues::upperCase(state.MessageText);
    const bool pending = TextFile::readLines(PendingPath).contains(state.SenderUin);
    if (!pending) {
        if (answer != AskWord)
            return StageOutcome::Continue;
        TextFile::appendLine(PendingPath, state.SenderUin);
        ServiceText::send(m_send, state, voteText(*vote), state.SenderUin);
        return StageOutcome::Stop;
    }

    if (answer == CancelWord) {
        cancel(state);
        ServiceText::send(m_send, state, CancelledText, state.SenderUin);
    } else if (answer == AskWord) {
        ServiceText::send(m_send, state, voteText(*vote), state.SenderUin);
    } else {
        bool chosen = false;
        for (const QString &option : vote->options) {
            if (VbValues::upperCase(option) == answer) {
                chosen = true;
                break;
            }
        }
        if (!chosen) {
            ServiceText::send(m_send, state, NoSuchOptionText, state.SenderUin);
            return StageOutcome::Stop;
        }
        // A vote the disk refused is not thanked for and the voter may try again.
        if (!TextFile::appendLine(ResultsPath, answer)) {
            ServiceText::send(m_send, state, NotSavedText, state.SenderUin);
            return StageOutcome::Stop;
        }
        TextFile::appendLine(VotersPath, state.SenderUin);
        ServiceText::send(m_send, state, ThanksText, state.SenderUin);
    }
    return StageOutcome::Stop;
}

void Vote::cancel(const MessageState &state)
{
    QStringList rest = TextFile::readLines(PendingPath);
    rest.removeAll(state.SenderUin);
    if (rest.isEmpty())
        TextFile::remove(PendingPath);
    else
        TextFile::writeLines(PendingPath, rest);
}
