#pragma once

#include "engine/answerengine.h"
#include "files/antispamfile.h"

#include <QString>

// The anti-spam question: while it is on, a number's messages are handled only after
// it has answered the operator's question. The asked and pass lists last one run of the
// program (the exit sequence deletes them).
class AntiSpam
{
public:
    static inline const QString SettingsPath = AntiSpamFile::FilePath;
    static inline const QString AskedPath = QStringLiteral("\\Подпрограммы\\Анти_спам_список.txt");
    static inline const QString PassedPath = QStringLiteral("\\Подпрограммы\\Анти_спам_список_правильно.txt");
    static inline const QString NotHandledText =
        QStringLiteral("Команда не обработана, для того чтобы команда была обработана нужно пройти проверку "
                       "анти-спама и повторить команду.");
    static inline const QString WrongAnswerText =
        QStringLiteral("Вы ответили не правильно, попробуйте ответить ещё раз.\r\n");

    struct Settings
    {
        bool on = false;
        QString question;
        QString answer; // without the line break the window leaves after it
        QString success;
    };

    explicit AntiSpam(SendFunction send);

    // The settings file cut into its items; off when missing or unreadable.
    static Settings settings();
    static Settings parse(const QString &text);

    // Continue for a number that has passed (or with the check off); Stop otherwise,
    // the sender having had the question, the reproach or the success text.
    StageOutcome CheckAntiSpam(MessageState &state);

private:
    SendFunction m_send;
};
