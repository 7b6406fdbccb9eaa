#pragma once

#include <QString>
#include <QWidget>

class AutoMessagesEditor;
class ChatMembersModel;
class ChatService;
class NamedTimer;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTreeView;
class QTreeWidget;
class TextRowsModel;
class WindowHost;

namespace ChatWindows {
// Fills the shown blacklist entry window for a chat member: the number (locked) and the
// chat's reason. False when the window offers neither its own method nor the boxes.
bool handToBlacklistWindow(QWidget *entryWindow, const QString &number);
} // namespace ChatWindows

// "Чат": the operator's window of the chat, six pages behind a column of page buttons.
// Every list follows the chat service's change signals while the window is open.
class Form33 : public QWidget
{
    Q_OBJECT
public:
    Form33(ChatService &service, AutoMessagesEditor &autoMessages, NamedTimer *autoMessageTimer,
           WindowHost &windows, QWidget *parent = nullptr);

    // Page buttons.
    void Command3_Click();  // "Кто в чате"
    void Command9_Click();  // "Администрация"
    void Command7_Click();  // "Настройки"
    void Command13_Click(); // "Комнаты"
    void Command16_Click(); // "Анти-мат"
    void Command22_Click(); // "Автосообщения"
    void Command8_Click();  // "Доп. настройки"
    void Command10_Click(); // "Логи чата"

    // Members page.
    void Command1_Click();  // "Перенести в чёрный список"
    void Command2_Click();  // "Удалить пользователя из чата"
    void Command11_Click(); // "Кто зарегестрирован"
    // Settings page.
    void Command6_Click(); // "Применить основыне настройки"
    // Administration page.
    void Command12_Click(); // add administrator
    void Command19_Click(); // remove administrator
    void Command4_Click();  // add moderator
    void Command5_Click();  // remove moderator
    void Command20_Click(); // add premoderator
    void Command21_Click(); // remove premoderator
    // Rooms page.
    void Command14_Click(); // "Добавить"
    void Command15_Click(); // "Удалить"
    // Obscenity page.
    void Command17_Click(); // "Сохранить"
    void Command18_Click(); // "Исключения" / "Маты"
    // Auto-message page.
    void Command23_Click(); // "Применить"
    void Command24_Click(); // "+"
    void Command25_Click(); // "-"

    QStackedWidget *Pages = nullptr;
    QWidget *Picture1 = nullptr; // settings
    QWidget *Picture2 = nullptr; // members
    QWidget *Picture3 = nullptr; // administration
    QWidget *Picture4 = nullptr; // rooms
    QWidget *Picture5 = nullptr; // obscenity
    QWidget *Picture6 = nullptr; // auto-messages

    QPushButton *Command3 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command13 = nullptr;
    QPushButton *Command16 = nullptr;
    QPushButton *Command22 = nullptr;
    QPushButton *Command10 = nullptr;

    // Settings page.
    QCheckBox *Check1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command6 = nullptr;

    // Members page.
    QListView *List1 = nullptr;
    QTreeWidget *ListView3 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command11 = nullptr;

    // Administration page.
    QListWidget *List3 = nullptr; // administrators
    QListWidget *List2 = nullptr; // moderators
    QListWidget *List4 = nullptr; // premoderators
    QPushButton *Command12 = nullptr;
    QPushButton *Command19 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command20 = nullptr;
    QPushButton *Command21 = nullptr;

    // Rooms page: a room list may hold many thousands of rooms, so its rows are laid out
    // only when shown.
    QTreeView *ListView1 = nullptr;
    QPushButton *Command14 = nullptr;
    QPushButton *Command15 = nullptr;

    // Obscenity page.
    QLabel *Label9 = nullptr;
    QPlainTextEdit *Text3 = nullptr;
    QPushButton *Command17 = nullptr;
    QPushButton *Command18 = nullptr;

    // Auto-message page.
    QTreeWidget *ListView2 = nullptr;
    QLineEdit *Text2 = nullptr;
    QCheckBox *Check2 = nullptr;
    QPushButton *Command23 = nullptr;
    QPushButton *Command24 = nullptr;
    QPushButton *Command25 = nullptr;

    ChatMembersModel *members() const { return m_members; }

private:
    QWidget *buildSettingsPage();
    QWidget *buildMembersPage();
    QWidget *buildStaffPage();
    QWidget *buildRoomsPage();
    QWidget *buildObscenityPage();
    QWidget *buildAutoMessagesPage();

    void showPage(QWidget *page);
    void updateMemberButtons();
    QString selectedMemberText() const;
    void removeSelectedMember();
    void fillStaffLists();
    void addStaff(int role);
    void removeStaff(QListWidget *list);
    void fillRooms();
    void showObscenityList(bool exceptions);
    void fillAutoMessages();
    void autoMessagesTicked();
    // The number of the room picked on the rooms page; empty when none is.
    QString selectedRoom() const;

    ChatService &m_service;
    AutoMessagesEditor &m_autoMessages;
    WindowHost &m_windows;
    ChatMembersModel *m_members = nullptr;
    TextRowsModel *m_rooms = nullptr; // number, name, members; the whole number kept
    bool m_exceptionsShown = false;
    QString m_autoMessagesText; // the file as the page last showed it
};
