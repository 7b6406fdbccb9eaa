#include "chat/chatmembersmodel.h"

#include "chat/chatservice.h"

#include <QSet>

ChatMembersModel::ChatMembersModel(ChatService &service, QObject *parent)
    : QAbstractListModel(parent)
{
    connect(&service, &ChatService::membersChanged, this, &ChatMembersModel::refill);
    connect(&service, &ChatService::memberRoomChanged, this, &ChatMembersModel::refill);
    m_members = ChatMemberList::members();
}

int ChatMembersModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_members.size());
}

QVariant ChatMembersModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_members.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::AccessibleTextRole)
        return m_members.at(index.row()).line();
    return {};
}

std::optional<ChatMember> ChatMembersModel::member(int row) const
{
    if (row < 0 || row >= m_members.size())
        return std::nullopt;
    return m_members.at(row);
}

void ChatMembersModel::refill()
{
    const QList<ChatMember> fresh = ChatMemberList::members();
    if (fresh == m_members)
        return;
    // Rows that went: removed one by one from the bottom, so the rows above keep their
    // places (and the view its selection).
    QSet<QString> freshLines;
    for (const ChatMember &member : fresh)
        freshLines.insert(member.line());
    for (int row = int(m_members.size()) - 1; row >= 0; --row) {
        if (freshLines.contains(m_members.at(row).line()))
            continue;
        beginRemoveRows(QModelIndex(), row, row);
        m_members.removeAt(row);
        endRemoveRows();
    }
    // Rows that came: inserted where the file has them. A change of order (which no
    // writer makes) is read as a whole new list.
    int row = 0;
    for (const ChatMember &member : fresh) {
        if (row < m_members.size() && m_members.at(row) == member) {
            ++row;
            continue;
        }
        if (m_members.indexOf(member, row) >= 0) {
            reset(fresh);
            return;
        }
        beginInsertRows(QModelIndex(), row, row);
        m_members.insert(row, member);
        endInsertRows();
        ++row;
    }
    if (row != m_members.size())
        reset(fresh);
}

void ChatMembersModel::reset(const QList<ChatMember> &members)
{
    beginResetModel();
    m_members = members;
    endResetModel();
}

QList<ChatRegistrations::Row> ChatRegistrations::rows()
{
    QList<Row> rows;
    for (const Registration &registration : RegistrationList::registrations())
        rows.append(Row{registration.uin, registration.nick});
    return rows;
}

ChatSwitchView ChatSwitchView::read()
{
    ChatSwitchView view;
    view.on = ChatSwitch::holdsOne();
    view.interval = ChatSwitch::intervalText();
    if (view.interval.isEmpty())
        view.interval = QStringLiteral("5");
    return view;
}

QString ChatBlacklistHandover::numberOf(const QString &itemText)
{
    const qsizetype blank = itemText.indexOf(QLatin1Char(' '));
    return blank < 0 ? itemText : itemText.left(blank);
}
