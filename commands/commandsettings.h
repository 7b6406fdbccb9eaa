#pragma once

#include <QString>

// The side files of the command base that the answer engine reads with every message.

// "\Команды\Настройки.txt": three lines, each compared numerically with 1.
struct CommandOptions
{
    static inline const QString FilePath = QStringLiteral("\\Команды\\Настройки.txt");

    bool upperCase = false; // line 1: names and message compared upper-cased
    bool joint = false;     // line 2 == 1: the common answer is always added
    bool trim = true;       // line 3: the message is cut to its first line, trailing blanks gone

    // Reads the file; a missing or empty file is written with "0", "2", "1" and those
    // values are used.
    static CommandOptions load();
};

// "\Информация о боте.txt": line 1 the switch, the rest the text.
namespace BotInformation {
inline const QString FilePath = QStringLiteral("\\Информация о боте.txt");
inline const QString Request = QStringLiteral("ИНФОРМАЦИЯ О БОТЕ");
// The text joined by CR LF without leading empty lines; empty when switched off.
QString answer();
} // namespace BotInformation

// "\Команды\Ответ на неизвестную команду.txt": the whole file is the reply.
namespace UnknownCommand {
inline const QString FilePath = QStringLiteral("\\Команды\\Ответ на неизвестную команду.txt");
inline const QString DefaultReply =
    QStringLiteral("Извините, но такой команды нет. Обратитесь к администратору.");
QString replyText();
} // namespace UnknownCommand
