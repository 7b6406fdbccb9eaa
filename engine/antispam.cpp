#include "engine/antispam.h"

#include "core/textfile.h"
#include "files/antispamfile.h"
#include "core/vbvalues.h"
#include "engine/servicetext.h"

#include <utility>

using ServiceText::CrLf;

AntiSpam::AntiSpam(SendFunction send)
    : m_send(std::move(send))
{}

AntiSpam::Settings AntiSpam::settings()
{
    return parse(TextFile::readAll(SettingsPath));
}

AntiSpam::Settings AntiSpam::parse(const QString &text)
{
    const AntiSpamFile::Contents file = AntiSpamFile::parse(text);
    Settings parsed;
    parsed.on = file.on;
    parsed.question = file.question;
    parsed.answer = file.answer;
    if (parsed.answer.endsWith(CrLf))
        parsed.answer.chop(CrLf.size());
    parsed.success = file.storedSuccess;
    return parsed;
}

StageOutcome AntiSpam::CheckAntiSpam(MessageState &state)
{
    const Settings check = settings();
    if (!check.on)
        return StageOutcome::Continue;
    if (TextFile::readLines(PassedPath).contains(state.SenderUin))
        return StageOutcome::Continue;

    // Only a number that was asked may answer; its first message is never handled.
    if (TextFile::readLines(AskedPath).contains(state.SenderUin)) {
        if (state.MessageText == check.answer) {
            TextFile::appendLine(PassedPath, state.SenderUin);
            ServiceText::send(m_send, state, check.success, state.SenderUin);
        } else {
            ServiceText::send(m_send, state, WrongAnswerText + check.question, state.SenderUin);
        }
        return StageOutcome::Stop;
    }
    TextFile::appendLine(AskedPath, state.SenderUin);
    ServiceText::send(m_send, state, check.question + CrLf + CrLf + NotHandledText, state.SenderUin);
    return StageOutcome::Stop;
}
