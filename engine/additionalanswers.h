#pragma once

#include "engine/answerengine.h"

#include <QString>

// "!add <command> <text>": any user adds an answer to the pool of a random-answer command
// that the operator opened in "\Команды\Добавочные.txt". Never answered.
class AdditionalAnswers
{
public:
    static inline const QString ListPath = QStringLiteral("\\Команды\\Добавочные.txt");
    static inline const QString Word = QStringLiteral("!add");

    // Stop for every "!add" message, whether or not anything was added.
    StageOutcome AddAnswerVariant(MessageState &state);

    // Adds text to the command's record in the group's file; false when nothing changed.
    static bool addToGroup(const QString &group, const QString &command, const QString &text);

private:
    static bool acceptable(const QString &text);
};
