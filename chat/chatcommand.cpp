#include "chat/chatcommand.h"

#include "core/vbvalues.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

enum class Match {
    Whole,     // the whole message, in any letter case
    FirstWord, // the first word, in any letter case
    Exact,     // the first word as written
    Prefix,    // the message starts with it
};

struct Row
{
    ChatCommand command;
    Match match;
    const char16_t *latin;
    const char16_t *cyrillic; // nullptr: none
};

// One row per command; no message matches two rows.
constexpr std::array Table = {
    Row{ChatCommand::Private, Match::Prefix, u">>", nullptr},
    Row{ChatCommand::Join, Match::Whole, u"!CHAT", u"!ЧАТ"},
    Row{ChatCommand::Register, Match::FirstWord, u"!REG", u"!РЕГ"},
    Row{ChatCommand::Ignore, Match::FirstWord, u"!IGNOR", u"!ИГНОР"},
    Row{ChatCommand::Unignore, Match::FirstWord, u"!UIGNOR", u"!УИГНОР"},
    Row{ChatCommand::StaffList, Match::Whole, u"!ADM", u"!АДМ"},
    Row{ChatCommand::Statistics, Match::Whole, u"!STAT", u"!САТИСТИКА"},
    Row{ChatCommand::History, Match::Whole, nullptr, u"!ИСТОРИЯ"},
    Row{ChatCommand::MemberList, Match::Whole, nullptr, u"!СПИСОК"},
    Row{ChatCommand::RoomList, Match::Whole, u"!ALLROOM", u"!СПКОМНАТ"},
    Row{ChatCommand::RoomMembers, Match::FirstWord, u"!INROOM", u"!ВКОМНАТЕ"},
    Row{ChatCommand::ChangeRoom, Match::FirstWord, u"!ROOM", nullptr},
    Row{ChatCommand::Leave, Match::Whole, u"!EXIT", u"!ВЫХОД"},
    Row{ChatCommand::DeleteRoom, Match::FirstWord, u"!DELROOM", nullptr},
    Row{ChatCommand::CreateRoom, Match::FirstWord, u"!CRROOM", nullptr},
    Row{ChatCommand::Unban, Match::FirstWord, u"!UBAN", u"!УБАН"},
    Row{ChatCommand::Kick, Match::FirstWord, u"!QIQ", u"!КИК"},
    Row{ChatCommand::Ban, Match::FirstWord, u"!BAN", u"!БАН"},
    Row{ChatCommand::PermanentBan, Match::FirstWord, u"!!BAN", u"!!БАН"},
    Row{ChatCommand::Rename, Match::FirstWord, u"!NIK", u"!НИК"},
    Row{ChatCommand::InvisibleOff, Match::Whole, u"!INVIZ OFF", nullptr},
    Row{ChatCommand::InvisibleOn, Match::Whole, u"!INVIZ ON", nullptr},
    Row{ChatCommand::SetGroup, Match::Exact, u"!SETGROUP", u"!НАЗНАЧИТЬ"},
};

// The longest whole-message command: a longer message is not upper-cased whole.
constexpr qsizetype longestWhole()
{
    qsizetype longest = 0;
    for (const Row &row : Table) {
        for (const char16_t *word : {row.latin, row.cyrillic}) {
            if (row.match == Match::Whole && word)
                longest = std::max(longest, qsizetype(std::char_traits<char16_t>::length(word)));
        }
    }
    return longest;
}
constexpr qsizetype LongestWhole = longestWhole();

bool names(const Row &row, QStringView text)
{
    return (row.latin && text == QStringView(row.latin)) ||
           (row.cyrillic && text == QStringView(row.cyrillic));
}

} // namespace

namespace ChatCommands {

QString upperCase(const QString &text)
{
    return VbValues::upperCase(text);
}

ChatCommandLine parse(const QString &text)
{
    ChatCommandLine line;
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank >= 0) {
        line.word = text.left(blank);
        line.argument = text.mid(blank + 1);
    }
    const QString upperWord = upperCase(line.word);
    // The rule keeps the length, so only a short message can be a whole command.
    const QString upperWhole = text.size() <= LongestWhole ? upperCase(text) : QString();
    for (const Row &row : Table) {
        bool matched = false;
        switch (row.match) {
        case Match::Whole:
            matched = !upperWhole.isEmpty() && names(row, upperWhole);
            break;
        case Match::FirstWord:
            matched = !upperWord.isEmpty() && names(row, upperWord);
            break;
        case Match::Exact:
            matched = !line.word.isEmpty() && names(row, line.word);
            break;
        case Match::Prefix:
            matched = text.startsWith(QStringView(row.latin));
            break;
        }
        if (matched) {
            line.command = row.command;
            break;
        }
    }
    return line;
}

} // namespace ChatCommands
