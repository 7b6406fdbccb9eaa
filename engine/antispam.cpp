#include "engine/antispam.h"

#include "core/textfile.h"
#include "core/vbvalues.h"
#include "engine/servicetext.h"

#include <utility>

using ServiceText::CrLf;

namespace {

// The items are separated by lines that hold only "---"; a "---" inside a line is text.
const QString ItemSeparator = QStringLiteral("\r\n---\r\n");

} // namespace

AntiSpam::AntiSpam(SendFunction send)
    : m_send(std::move(send))
{}

AntiSpam::Settings AntiSpam::settings()
{
    return parse(TextFile::readAll(SettingsPath));
}

AntiSpam::Settings AntiSpam::parse(const QString &text)
{
    Settings parsed;
    // A flag typed by hand as "1" and a line end reads as on, like the window's " 1 ".
    parsed.on = VbValues::holdsNumber(text.left(2).trimmed(), 1);
    QStringList items;
    qsizetype from = 0;
    // flag, question, answer; the success text is the rest, separators and all.
    while (items.size() < 3) {
        const qsizetype at = text.indexOf(ItemSeparator, from);
        if (at < 0)
            break;
        items.append(text.mid(from, at - from));
        from = at + ItemSeparator.size();
    }
    if (items.size() < 3 && from > 0) {
        // A file cut short: the last item runs to the end, without its line break.
        QString last = text.mid(from);
        if (last.endsWith(CrLf))
            last.chop(CrLf.size());
        items.append(last);
    } else if (items.size() == 3) {
        parsed.success = text.mid(from);
    }
    parsed.question = items.value(1);
    parsed.answer = items.value(2);
    if (parsed.answer.endsWith(CrLf))
        parsed.answer.chop(CrLf.size());
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
