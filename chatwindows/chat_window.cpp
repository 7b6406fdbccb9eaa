#include "chatwindows/chat_window.h"

#include "chat/automessagesedit.h"
#include "chat/chatmembersmodel.h"
#include "chat/chatroomsedit.h"
#include "chat/chatservice.h"
#include "chat/chatstaffedit.h"
#include "chat/obscenityedit.h"
#include "core/namedtimer.h"
#include "core/showntext.h"
#include "core/textfile.h"
#include "core/textrowsmodel.h"
#include "platform/dialogs.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
using WindowKit::named;

QLabel *label(const QString &text, QWidget *parent, const char *name)
{
    return named(new QLabel(text, parent), name);
}

QTreeWidget *listView(const QStringList &headers, QWidget *parent, const char *name)
{
    auto *view = named(new QTreeWidget(parent), name);
    view->setColumnCount(int(headers.size()));
    view->setHeaderLabels(headers);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    return view;
}

void showError(const QString &title, const QString &text)
{
    Dialogs::instance().message(title, text, Dialogs::Icon::Information);
}

const QString WordsRule = QStringLiteral("1мат=1строка");
const QString ExceptionsRule = QStringLiteral("1исключение=1строка");
const QString ToExceptions = QStringLiteral("Исключения");
const QString ToWords = QStringLiteral("Маты");
} // namespace

bool ChatWindows::handToBlacklistWindow(QWidget *entryWindow, const QString &number)
{
    // The entry window takes the member through its own method.
    return entryWindow && entryWindow->metaObject()->indexOfMethod("openForChatMember(QString)") >= 0 &&
           QMetaObject::invokeMethod(entryWindow, "openForChatMember", Q_ARG(QString, number));
}

Form33::Form33(ChatService &service, AutoMessagesEditor &autoMessages, NamedTimer *autoMessageTimer,
               WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_service(service)
    , m_autoMessages(autoMessages)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Чат"));

    auto *buttons = new QVBoxLayout;
    Command3 = named(new QPushButton(QStringLiteral("Кто в чате"), this), "Command3");
    Command9 = named(new QPushButton(QStringLiteral("Администрация"), this), "Command9");
    Command7 = named(new QPushButton(QStringLiteral("Настройки"), this), "Command7");
    Command8 = named(new QPushButton(QStringLiteral("Доп. настройки"), this), "Command8");
    Command13 = named(new QPushButton(QStringLiteral("Комнаты"), this), "Command13");
    Command16 = named(new QPushButton(QStringLiteral("Анти-мат"), this), "Command16");
    Command22 = named(new QPushButton(QStringLiteral("Автосообщения"), this), "Command22");
    Command10 = named(new QPushButton(QStringLiteral("Логи чата"), this), "Command10");
    for (QPushButton *button : {Command3, Command9, Command7, Command8, Command13, Command16, Command22})
        buttons->addWidget(button);
    buttons->addSpacing(24);
    buttons->addWidget(Command10);
    buttons->addStretch();

    Pages = named(new QStackedWidget(this), "Pages");
    Picture2 = buildMembersPage();
    Picture3 = buildStaffPage();
    Picture1 = buildSettingsPage();
    Picture4 = buildRoomsPage();
    Picture5 = buildObscenityPage();
    Picture6 = buildAutoMessagesPage();
    for (QWidget *page : {Picture2, Picture3, Picture1, Picture4, Picture5, Picture6})
        Pages->addWidget(page);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Pages, 1);

    connect(Command3, &QPushButton::clicked, this, &Form33::Command3_Click);
    connect(Command9, &QPushButton::clicked, this, &Form33::Command9_Click);
    connect(Command7, &QPushButton::clicked, this, &Form33::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form33::Command8_Click);
    connect(Command13, &QPushButton::clicked, this, &Form33::Command13_Click);
    connect(Command16, &QPushButton::clicked, this, &Form33::Command16_Click);
    connect(Command22, &QPushButton::clicked, this, &Form33::Command22_Click);
    connect(Command10, &QPushButton::clicked, this, &Form33::Command10_Click);

    // The lists follow the chat while the window is open.
    connect(&m_service, &ChatService::roomsChanged, this, &Form33::fillRooms);
    connect(&m_service, &ChatService::membersChanged, this, &Form33::fillRooms);
    connect(&m_service, &ChatService::memberRoomChanged, this, &Form33::fillRooms);
    connect(&m_service, &ChatService::chatSwitched, Check1, &QCheckBox::setChecked);
    connect(&m_autoMessages, &AutoMessagesEditor::changed, this, &Form33::fillAutoMessages);
    if (autoMessageTimer)
        connect(autoMessageTimer, &NamedTimer::ticked, this, &Form33::autoMessagesTicked);

    // The window opens on the members page with the settings, members and staff filled.
    showPage(Picture2);
    const ChatSwitchView chatSwitch = ChatSwitchView::read();
    Check1->setChecked(chatSwitch.on);
    Text1->setText(chatSwitch.interval);
    fillStaffLists();
}

QWidget *Form33::buildSettingsPage()
{
    auto *page = named(new QWidget(this), "Picture1");
    Check1 = named(new QCheckBox(QStringLiteral("Включить чат"), page), "Check1");
    Text1 = named(new QLineEdit(QStringLiteral("20"), page), "Text1");
    Command6 = named(new QPushButton(QStringLiteral("Применить основыне настройки"), page), "Command6");
    auto *grid = new QGridLayout(page);
    grid->addWidget(Check1, 0, 0, 1, 3);
    grid->addWidget(label(QStringLiteral("Если галочка стоит, значит чат работает."), page, "Label1"), 1, 0,
                    1, 3);
    grid->addWidget(label(QStringLiteral("Интервал передачи сообщений"), page, "Label3"), 2, 0);
    grid->addWidget(Text1, 2, 1);
    grid->addWidget(label(QStringLiteral("с."), page, "Label4"), 2, 2);
    grid->addWidget(label(QStringLiteral("ЧЕРЕЗ какое время начнётся отсылка сообщений."), page, "Label14"),
                    3, 0, 1, 3);
    grid->addWidget(Command6, 4, 0, 1, 3);
    grid->setRowStretch(5, 1);
    connect(Command6, &QPushButton::clicked, this, &Form33::Command6_Click);
    return page;
}

QWidget *Form33::buildMembersPage()
{
    auto *page = named(new QWidget(this), "Picture2");
    m_members = new ChatMembersModel(m_service, this);
    List1 = named(new QListView(page), "List1");
    List1->setModel(m_members);
    List1->setUniformItemSizes(true);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView3 = listView({QStringLiteral("ICQ номер"), QStringLiteral("Ник")}, page, "ListView3");
    ListView3->hide();
    Command1 = named(new QPushButton(QStringLiteral("Перенести в чёрный список"), page), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Удалить пользователя из чата"), page), "Command2");
    Command11 = named(new QPushButton(QStringLiteral("Кто зарегестрирован"), page), "Command11");
    Command1->setEnabled(false);
    Command2->setEnabled(false);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(label(QStringLiteral("Сейчас в чате"), page, "Label2"));
    layout->addWidget(List1, 1);
    layout->addWidget(ListView3, 1);
    auto *row = new QHBoxLayout;
    row->addWidget(Command1);
    row->addWidget(Command2);
    row->addWidget(Command11);
    layout->addLayout(row);

    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Form33::updateMemberButtons);
    connect(m_members, &QAbstractItemModel::modelReset, this, &Form33::updateMemberButtons);
    connect(Command1, &QPushButton::clicked, this, &Form33::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form33::Command2_Click);
    connect(Command11, &QPushButton::clicked, this, &Form33::Command11_Click);
    return page;
}

QWidget *Form33::buildStaffPage()
{
    auto *page = named(new QWidget(this), "Picture3");
    auto *grid = new QGridLayout(page);
    const auto group = [&](int row, const QString &title, const char *labelName, QListWidget *&list,
                           const char *listName, QPushButton *&add, const char *addName, QPushButton *&remove,
                           const char *removeName) {
        list = named(new QListWidget(page), listName);
        // Three lists share the page's height; each asks for a few rows only.
        list->setSizePolicy(list->sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
        list->setMinimumHeight(3 * list->fontMetrics().lineSpacing() + 2 * list->frameWidth() + 4);
        add = named(new QPushButton(QStringLiteral("Добавить"), page), addName);
        remove = named(new QPushButton(QStringLiteral("Удалить"), page), removeName);
        grid->addWidget(label(title, page, labelName), row * 3, 0, 1, 2);
        grid->addWidget(list, row * 3 + 1, 0, 2, 1);
        grid->addWidget(add, row * 3 + 1, 1);
        grid->addWidget(remove, row * 3 + 2, 1, Qt::AlignTop);
    };
    group(0, QStringLiteral("Администраторы:"), "Label5", List3, "List3", Command12, "Command12", Command19,
          "Command19");
    group(1, QStringLiteral("Модераторы:"), "Label7", List2, "List2", Command4, "Command4", Command5,
          "Command5");
    group(2, QStringLiteral("Премодераторы"), "Label6", List4, "List4", Command20, "Command20", Command21,
          "Command21");
    connect(Command12, &QPushButton::clicked, this, &Form33::Command12_Click);
    connect(Command19, &QPushButton::clicked, this, &Form33::Command19_Click);
    connect(Command4, &QPushButton::clicked, this, &Form33::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form33::Command5_Click);
    connect(Command20, &QPushButton::clicked, this, &Form33::Command20_Click);
    connect(Command21, &QPushButton::clicked, this, &Form33::Command21_Click);
    return page;
}

QWidget *Form33::buildRoomsPage()
{
    auto *page = named(new QWidget(this), "Picture4");
    m_rooms = new TextRowsModel(
        {QStringLiteral("Номер"), QStringLiteral("Название"), QStringLiteral("Кол-во людей (сейчас)")}, this);
    ListView1 = named(new QTreeView(page), "ListView1");
    ListView1->setModel(m_rooms);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    Command14 = named(new QPushButton(QStringLiteral("Добавить"), page), "Command14");
    Command15 = named(new QPushButton(QStringLiteral("Удалить"), page), "Command15");
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(label(QStringLiteral("Список комнат:"), page, "Label8"));
    layout->addWidget(ListView1, 1);
    auto *row = new QHBoxLayout;
    row->addWidget(Command14);
    row->addWidget(Command15);
    layout->addLayout(row);
    connect(Command14, &QPushButton::clicked, this, &Form33::Command14_Click);
    connect(Command15, &QPushButton::clicked, this, &Form33::Command15_Click);
    return page;
}

QWidget *Form33::buildObscenityPage()
{
    auto *page = named(new QWidget(this), "Picture5");
    Label9 = label(WordsRule, page, "Label9");
    Text3 = named(new QPlainTextEdit(page), "Text3");
    Command17 = named(new QPushButton(QStringLiteral("Сохранить"), page), "Command17");
    Command18 = named(new QPushButton(ToExceptions, page), "Command18");
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(Label9);
    layout->addWidget(Text3, 1);
    auto *row = new QHBoxLayout;
    row->addWidget(Command17);
    row->addWidget(Command18);
    layout->addLayout(row);
    connect(Command17, &QPushButton::clicked, this, &Form33::Command17_Click);
    connect(Command18, &QPushButton::clicked, this, &Form33::Command18_Click);
    return page;
}

QWidget *Form33::buildAutoMessagesPage()
{
    auto *page = named(new QWidget(this), "Picture6");
    ListView2 = listView({QStringLiteral("ID"), QStringLiteral("Текст"), QStringLiteral("Счётчик"),
                          QStringLiteral("Тип счётчика")},
                         page, "ListView2");
    Text2 = named(new QLineEdit(AutoMessagesEditor::DefaultInterval, page), "Text2");
    // Only whole seconds the auto-message tick can use.
    Text2->setValidator(new QIntValidator(AutoMessages::MinInterval, AutoMessages::MaxInterval, Text2));
    Check2 = named(new QCheckBox(QStringLiteral("В случайном порядке"), page), "Check2");
    Command23 = named(new QPushButton(QStringLiteral("Применить"), page), "Command23");
    Command24 = named(new QPushButton(QStringLiteral("+"), page), "Command24");
    Command25 = named(new QPushButton(QStringLiteral("-"), page), "Command25");
    Command25->setEnabled(false);

    auto *layout = new QVBoxLayout(page);
    auto *heading =
        label(QStringLiteral("Введите сообщенияе (я) которые буду транслироваться время от времени"), page,
              "Label10");
    heading->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(ListView2, 1);
    auto *interval = new QHBoxLayout;
    interval->addWidget(label(QStringLiteral("Интервал:"), page, "Label11"));
    interval->addWidget(Text2);
    interval->addWidget(label(QStringLiteral("сек."), page, "Label12"));
    interval->addWidget(Check2);
    interval->addStretch();
    layout->addLayout(interval);
    auto *row = new QHBoxLayout;
    row->addWidget(label(QStringLiteral("1 строчка = 1 сообщение"), page, "Label13"));
    row->addStretch();
    row->addWidget(Command23);
    row->addWidget(Command24);
    row->addWidget(Command25);
    layout->addLayout(row);

    connect(ListView2, &QTreeWidget::itemSelectionChanged, this,
            [this] { Command25->setEnabled(!ListView2->selectedItems().isEmpty()); });
    connect(Command23, &QPushButton::clicked, this, &Form33::Command23_Click);
    connect(Command24, &QPushButton::clicked, this, &Form33::Command24_Click);
    connect(Command25, &QPushButton::clicked, this, &Form33::Command25_Click);
    return page;
}

void Form33::showPage(QWidget *page)
{
    Pages->setCurrentWidget(page);
}

// --- page buttons ------------------------------------------------------------------------

void Form33::Command3_Click()
{
    showPage(Picture2);
    // The member list comes back in front of the registrations.
    ListView3->hide();
    List1->show();
    m_members->refill();
    updateMemberButtons();
}

void Form33::Command9_Click()
{
    showPage(Picture3);
    // Entries that moderation's commands added meanwhile show too.
    fillStaffLists();
}

void Form33::Command7_Click()
{
    showPage(Picture1);
}

void Form33::Command13_Click()
{
    showPage(Picture4);
    fillRooms();
}

void Form33::Command16_Click()
{
    showPage(Picture5);
    showObscenityList(false);
}

void Form33::Command22_Click()
{
    showPage(Picture6);
    fillAutoMessages();
}

void Form33::Command8_Click()
{
    m_windows.showWindow(QStringLiteral("Form42"));
}

void Form33::Command10_Click()
{
    m_windows.showWindow(QStringLiteral("Form43"));
}

// --- settings page -----------------------------------------------------------------------

void Form33::Command6_Click()
{
    m_service.setChatSwitch(Check1->isChecked(), Text1->text());
}

// --- members page ------------------------------------------------------------------------

QString Form33::selectedMemberText() const
{
    const QModelIndexList rows = List1->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return {};
    return rows.first().data().toString();
}

void Form33::updateMemberButtons()
{
    if (m_members->rowCount() == 0) {
        Command1->setEnabled(false);
        Command2->setEnabled(false);
        return;
    }
    // A selection enables the buttons; they stay so after a removal that leaves members.
    if (!selectedMemberText().isEmpty()) {
        Command1->setEnabled(true);
        Command2->setEnabled(true);
    }
}

void Form33::removeSelectedMember()
{
    const QModelIndexList rows = List1->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const std::optional<ChatMember> member = m_members->member(rows.first().row());
    if (!member)
        return;
    // No row is selected after a removal, not even the one that takes its place.
    List1->selectionModel()->clear();
    m_service.removeMember(member->uin);
    m_members->refill();
    updateMemberButtons();
}

void Form33::Command2_Click()
{
    if (selectedMemberText().isEmpty())
        return;
    removeSelectedMember();
}

void Form33::Command1_Click()
{
    const QString text = selectedMemberText();
    if (text.isEmpty())
        return;
    const QString number = ChatBlacklistHandover::numberOf(text);
    ChatWindows::handToBlacklistWindow(m_windows.showWindow(QStringLiteral("Form6")), number);
    removeSelectedMember();
}

void Form33::Command11_Click()
{
    List1->hide();
    ListView3->show();
    ListView3->clear();
    QList<QTreeWidgetItem *> items;
    // "Ник" shows the registration line after its number: the dash, a blank and the nick.
    for (const ChatRegistrations::Row &row : ChatRegistrations::rows())
        items.append(new QTreeWidgetItem(QStringList{row.uin, ShownText::cut(QStringLiteral("- ") + row.nick)}));
    ListView3->addTopLevelItems(items);
}

// --- administration page -----------------------------------------------------------------

void Form33::fillStaffLists()
{
    using Role = ChatStaffEditor::Role;
    const auto fill = [](QListWidget *list, Role role) {
        list->clear();
        list->addItems(ChatStaffEditor::numbers(role));
    };
    fill(List3, Role::Administrator);
    fill(List2, Role::Moderator);
    fill(List4, Role::Premoderator);
}

void Form33::addStaff(int role)
{
    using Role = ChatStaffEditor::Role;
    const Role which = Role(role);
    const QString typed = which == Role::Administrator
                              ? Dialogs::instance().input(QStringLiteral("Администраторы"),
                                                          QStringLiteral("Введите UIN администратора"))
                              : Dialogs::instance().input(QStringLiteral("Добавление"),
                                                          QStringLiteral("Введите ICQ номер модератора."));
    const ChatStaffEditor::AddResult result = ChatStaffEditor::add(which, typed);
    if (result == ChatStaffEditor::AddResult::Duplicate)
        showError(QStringLiteral("Ошибка"), QStringLiteral("Человек с таким UINом уже добавлен."));
    if (result == ChatStaffEditor::AddResult::Added)
        fillStaffLists();
}

void Form33::removeStaff(QListWidget *list)
{
    QListWidgetItem *item = list->currentItem();
    if (!item || !item->isSelected())
        return;
    if (ChatStaffEditor::remove(item->text()))
        fillStaffLists();
}

void Form33::Command12_Click()
{
    addStaff(int(ChatStaffEditor::Role::Administrator));
}

void Form33::Command4_Click()
{
    addStaff(int(ChatStaffEditor::Role::Moderator));
}

void Form33::Command20_Click()
{
    addStaff(int(ChatStaffEditor::Role::Premoderator));
}

void Form33::Command19_Click()
{
    removeStaff(List3);
}

void Form33::Command5_Click()
{
    removeStaff(List2);
}

void Form33::Command21_Click()
{
    removeStaff(List4);
}

// --- rooms page --------------------------------------------------------------------------

void Form33::fillRooms()
{
    const QString selected = selectedRoom();
    QList<QStringList> rows;
    // The model shows a hand-edited room line of megabytes cut and keeps the whole number
    // for deleting.
    for (const ChatRoomsEditor::Row &row : ChatRoomsEditor::rows())
        rows.append({row.number, row.name, QString::number(row.members)});
    m_rooms->setRows(std::move(rows));
    if (selected.isEmpty())
        return;
    for (int row = 0; row < m_rooms->rowCount(); ++row) {
        if (m_rooms->text(row, 0) == selected) {
            ListView1->setCurrentIndex(m_rooms->index(row, 0));
            break;
        }
    }
}

QString Form33::selectedRoom() const
{
    const QModelIndex current = ListView1->currentIndex();
    if (!current.isValid() || !ListView1->selectionModel()->isRowSelected(current.row(), QModelIndex()))
        return {};
    return m_rooms->text(current.row(), 0);
}

void Form33::Command14_Click()
{
    const QString number =
        Dialogs::instance().input(QStringLiteral("Комнаты"), QStringLiteral("Введите номер комнаты"));
    const QString name =
        Dialogs::instance().input(QStringLiteral("Комнаты"), QStringLiteral("Введите название"));
    switch (ChatRoomsEditor::add(m_service, number, name)) {
    case ChatRoomsEditor::AddResult::BadInput:
        showError(
            QStringLiteral("Ошибка"),
            QStringLiteral(
                "Обнаружена ошибка в заполнении данных. Обратите внимание: номер 0 использовать нельзя."));
        break;
    case ChatRoomsEditor::AddResult::InUse:
        showError(QStringLiteral("Комнаты"), QStringLiteral("Комната с таким номером уже существует"));
        break;
    case ChatRoomsEditor::AddResult::Added:
    case ChatRoomsEditor::AddResult::Failed:
        break;
    }
}

void Form33::Command15_Click()
{
    const QString number = selectedRoom();
    if (number.isEmpty())
        return;
    ChatRoomsEditor::remove(m_service, number);
}

// --- obscenity page ----------------------------------------------------------------------

void Form33::showObscenityList(bool exceptions)
{
    m_exceptionsShown = exceptions;
    Text3->setPlainText(
        ObscenityEditor::text(exceptions ? ObscenityEditor::List::Exceptions : ObscenityEditor::List::Words));
    Label9->setText(exceptions ? ExceptionsRule : WordsRule);
    Command18->setText(exceptions ? ToWords : ToExceptions);
}

void Form33::Command18_Click()
{
    showObscenityList(!m_exceptionsShown);
}

void Form33::Command17_Click()
{
    const ObscenityEditor::List list =
        m_exceptionsShown ? ObscenityEditor::List::Exceptions : ObscenityEditor::List::Words;
    if (ObscenityEditor::save(list, Text3->toPlainText()))
        Text3->setPlainText(ObscenityEditor::text(list));
}

// --- auto-message page -------------------------------------------------------------------

void Form33::fillAutoMessages()
{
    m_autoMessagesText = TextFile::readAll(AutoMessages::FilePath);
    ListView2->clear();
    Command25->setEnabled(false);
    const AutoMessagesEditor::Page page = AutoMessagesEditor::read();
    if (!page.hasText)
        return;
    Text2->setText(page.interval);
    Check2->setChecked(page.random);
    QList<QTreeWidgetItem *> items;
    for (const AutoMessagesEditor::Row &row : page.rows) {
        auto *item = new QTreeWidgetItem(
            QStringList{QString::number(row.id), ShownText::cut(row.entry.text), ShownText::cut(row.entry.count),
                        ShownText::cut(row.entry.direction)});
        item->setData(0, Qt::UserRole, row.line);
        items.append(item);
    }
    ListView2->addTopLevelItems(items);
}

void Form33::autoMessagesTicked()
{
    // The tick counts and removes entries: the page follows when the file changed.
    if (Pages->currentWidget() == Picture6 && TextFile::readAll(AutoMessages::FilePath) != m_autoMessagesText)
        fillAutoMessages();
}

void Form33::Command23_Click()
{
    m_autoMessages.apply(Text2->text(), Check2->isChecked());
}

void Form33::Command24_Click()
{
    m_windows.showWindow(QStringLiteral("Form51"));
}

void Form33::Command25_Click()
{
    QTreeWidgetItem *item = ListView2->currentItem();
    if (!item || !item->isSelected())
        return;
    m_autoMessages.remove(item->text(0).toInt(), item->data(0, Qt::UserRole).toString());
}
