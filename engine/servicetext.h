#pragma once

#include "engine/answersender.h"
#include "session/incomingreader.h"
#include "session/messagestate.h"

#include <QString>

#include <optional>

// Small text rules the built-in services share.
namespace ServiceText {

inline const QString CrLf = QStringLiteral("\r\n");

// The text before the first blank; nullopt when the message has no blank.
inline std::optional<QString> firstWord(const QString &text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return std::nullopt;
    return text.left(blank);
}

// The text before the first CR LF; nullopt when the message has no CR LF.
inline std::optional<QString> firstLine(const QString &text)
{
    const qsizetype lineBreak = text.indexOf(CrLf);
    if (lineBreak < 0)
        return std::nullopt;
    return text.left(lineBreak);
}

// Everything after the first CR LF (empty when there is none).
inline QString afterFirstLine(const QString &text)
{
    const qsizetype lineBreak = text.indexOf(CrLf);
    return lineBreak < 0 ? QString() : text.mid(lineBreak + CrLf.size());
}

// 1 to 15 ASCII digits: the only numbers that may name a file or receive a message.
inline bool isUin(const QString &number)
{
    return IncomingReader::isValidUin(number.toLatin1());
}

// A direct reply on the bot slot that received the message.
inline void send(const SendFunction &sendFn, const MessageState &state, const QString &txt,
                 const QString &toUin)
{
    if (sendFn)
        sendFn(state.slot, txt, toUin);
}

} // namespace ServiceText
