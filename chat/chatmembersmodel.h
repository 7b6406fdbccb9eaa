#pragma once

#include "chat/chatfiles.h"

#include <QAbstractListModel>
#include <QList>

class ChatService;

// The chat members as the chat window lists them: one row per line of the chat member
// list ("UIN - nick - room"), in file order. It follows the chat service's change
// signals and applies only the rows that changed, so a selection survives other members'
// joins and leaves and a chat of a thousand members is not rebuilt on every change.
class ChatMembersModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit ChatMembersModel(ChatService &service, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The member of a row; nullopt outside the list.
    std::optional<ChatMember> member(int row) const;
    QList<ChatMember> members() const { return m_members; }

    // Reads the chat member list again and applies the difference.
    void refill();

private:
    void reset(const QList<ChatMember> &members);

    QList<ChatMember> m_members;
};

// The registrations view of the chat window: number and nick of every registration.
namespace ChatRegistrations {
struct Row
{
    QString uin;
    QString nick;
};
QList<Row> rows();
} // namespace ChatRegistrations

// The chat switch as the settings page shows it.
struct ChatSwitchView
{
    bool on = false;  // line 1 holds the number 1
    QString interval; // line 2, or "5" when it is empty
    static ChatSwitchView read();
};

// What the chat window hands to the blacklist entry window for a member.
namespace ChatBlacklistHandover {
// The number of a member list item: its text up to the first blank.
QString numberOf(const QString &itemText);
} // namespace ChatBlacklistHandover
