#pragma once

#include "session/messagestate.h"
#include "session/stageoutcome.h"

#include <QString>

// The command words of the chat and of its moderation, read by one parser. A message is
// "word argument": the word is the text before the first blank, the argument everything
// after it, both as written. Letter case follows one rule (ChatCommands::upperCase): the
// Latin and Cyrillic letters of Windows-1251 and nothing else, so a letter the bot
// cannot store never turns into a command word.
enum class ChatCommand {
    None,
    // A stranger's.
    Join,     // "!chat", the whole message
    Register, // "!reg <nick>"
    // A member's.
    Private,     // ">><nick> <text>"
    Ignore,      // "!ignor <nick>"
    Unignore,    // "!uignor <nick>"
    StaffList,   // "!adm"
    Statistics,  // "!stat"
    History,     // "!история"
    MemberList,  // "!список"
    RoomList,    // "!allroom"
    RoomMembers, // "!inroom <room>"
    ChangeRoom,  // "!room <room>"
    Leave,       // "!exit"
    // The staff's.
    DeleteRoom,   // "!delroom <room>"
    CreateRoom,   // "!crroom <room> <name>"
    Unban,        // "!uban <nick>"
    Kick,         // "!qiq <nick>"
    Ban,          // "!ban <nick> [<minutes> [<reason>]]"
    PermanentBan, // "!!ban <nick> [<reason>]"
    Rename,       // "!nik <nick> <new nick>"
    InvisibleOff, // "!inviz off"
    InvisibleOn,  // "!inviz on"
    SetGroup,     // "!SETGROUP <group> <nick>", the word in capitals
};

struct ChatCommandLine
{
    ChatCommand command = ChatCommand::None;
    // Before the first blank, as written; empty when the message has no blank.
    QString word;
    // After the first blank, as written; empty when the message has no blank.
    QString argument;
};

namespace ChatCommands {

// Upper case for command words, nicks' last letters and obscenity checks.
QString upperCase(const QString &text);

// The command a message names, in whatever letter case it was written (but for
// "!SETGROUP" and "!НАЗНАЧИТЬ", which are taken in capitals only). Which commands apply
// depends on who sends it: the chat takes a stranger's Join and Register, a member's
// own commands, and moderation the staff's.
ChatCommandLine parse(const QString &text);

// A command took the message: the engine does not go on with it.
inline StageOutcome takeMessage(MessageState &state)
{
    state.MessageHandled = true;
    return StageOutcome::Stop;
}

} // namespace ChatCommands
