#include "engine/notepad.h"

#include "core/textfile.h"
#include "core/vbvalues.h"
#include "engine/servicetext.h"

#include <utility>

Notepad::Notepad(SendFunction send)
    : m_send(std::move(send))
{}

QString Notepad::notePath(const QString &uin)
{
    return NotepadFiles::notePath(uin);
}

StageOutcome Notepad::HandleNotepad(MessageState &state)
{
    if (!NotepadFiles::isOn())
        return StageOutcome::Continue;
    const QString path = notePath(state.SenderUin);
    if (path.isEmpty())
        return StageOutcome::Continue;
    const std::optional<QString> firstLine = ServiceText::firstLine(state.MessageText);
    if (firstLine && VbValues::upperCase(*firstLine) == WriteWord)
        return writeNote(state, path);
    if (VbValues::upperCase(state.MessageText) == ReadWord)
        return readNote(state, path);
    return StageOutcome::Continue;
}

StageOutcome Notepad::writeNote(MessageState &state, const QString &notePath)
{
    // A note the disk refused is never confirmed: the user would trust a note that is not there.
    if (!TextFile::writeAll(notePath, ServiceText::afterFirstLine(state.MessageText) + ServiceText::CrLf)) {
        ServiceText::send(m_send, state, NotSavedText, state.SenderUin);
        return StageOutcome::Stop;
    }
    const bool known = TextFile::readLines(ListPath).contains(state.SenderUin);
    if (!known)
        TextFile::appendLine(ListPath, state.SenderUin);
    ServiceText::send(m_send, state, known ? ChangedText : CreatedText, state.SenderUin);
    return StageOutcome::Stop;
}

StageOutcome Notepad::readNote(MessageState &state, const QString &notePath)
{
    state.ReplyText = TextFile::exists(notePath) ? TextFile::readAll(notePath) : NoNoteText;
    ServiceText::send(m_send, state, state.ReplyText, state.SenderUin);
    return StageOutcome::Stop;
}
