#pragma once

#include "chat/chatfiles.h"
#include "session/messagestate.h"
#include "session/stageoutcome.h"

#include <QString>

class ChatDelivery;
class ChatEvents;

// Who is in the chat and where: registration ("!reg"), joining ("!chat"), a room change
// ("!room"), leaving ("!exit"), the changes moderation and the windows make, and the
// per-run member files. The chat files hold the state; this keeps only whether anybody
// joined in this run.
class ChatMembership
{
public:
    static constexpr int MaxNickLength = 15;

    enum class CharacterSet { Member, Nick };
    // A last character outside the set's letters, digits and punctuation goes.
    static QString ApplyLastCharacterRule(const QString &text, CharacterSet set);

    ChatMembership(ChatDelivery &delivery, ChatEvents &events);

    // --- a stranger's commands ---------------------------------------------------------
    StageOutcome registerNick(MessageState &state, const QString &nick);
    StageOutcome join(MessageState &state);

    // --- a member's commands -----------------------------------------------------------
    StageOutcome changeRoom(MessageState &state, const ChatMember &member, const QString &room);
    StageOutcome leave(MessageState &state, const ChatMember &member);

    // --- changes from moderation and the windows ---------------------------------------
    // Takes the member out of the member list and out of his room's file.
    bool removeMember(const QString &uin);
    // Moves a member into another room (member list and room files).
    bool moveMember(const QString &uin, const QString &room);
    // Gives a member a new nick in the member list and his room file; the registration
    // keeps the nick given at sign-up. False when the member list was not written.
    bool renameMember(const QString &uin, const QString &nick);

    // --- per-run files -----------------------------------------------------------------
    // The operator disconnected: the member list goes and the delivery stops.
    void noteDisconnected();
    // The per-run files go (start-up after an unclean end, exit).
    void cleanUpPerRunFiles();

    // "Да, подключен" from the first join or registration of the run on.
    QString chatState() const { return m_chatState; }

private:
    // Into the member list and the common room's file, out of any other room's file;
    // false when the member list was not written.
    static bool addToCommonRoom(const QString &uin, const QString &nick);
    void queueJoinNotice(const QString &uin, const QString &nick, const QString &room,
                         const QString &logLine);

    ChatDelivery &m_delivery;
    ChatEvents &m_events;
    QString m_chatState;
};
