#include "recordwindows/contactbook_window.h"

#include "core/textfile.h"
#include "core/vbvalues.h"
#include "platform/dialogs.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using WindowKit::named;

namespace {

constexpr int LineRole = Qt::UserRole;

} // namespace

// --- Form37 ------------------------------------------------------------------------------

const QString Form37::SearchPrompt = QStringLiteral("Человек с такими данными найден.\r\n"
                                                    "Выберите действие:\r\n"
                                                    "1 - просомтреть/редактировать данные контакта\r\n"
                                                    "2 - удалить контакт\r\n"
                                                    "3 - продолжить поиск");

Form37::Form37(ContactBook &book, WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_book(book)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Контактная книга"));
    Label1 = named(new QLabel(QStringLiteral("Введите номер который хотите найти:"), this), "Label1");
    Text1 = named(new QLineEdit(this), "Text1");
    Option1 = named(new QRadioButton(QStringLiteral("Искать по ФИО"), this), "Option1");
    Option2 = named(new QRadioButton(QStringLiteral("Искать по ICQ номеру"), this), "Option2");
    Command4 = named(new QPushButton(QStringLiteral("Поиск"), this), "Command4");
    ListView1 = named(new QTreeWidget(this), "ListView1");
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setHeaderLabels({QStringLiteral("ФИО"), QStringLiteral("Номер ICQ"), QStringLiteral("Телефон"),
                                QStringLiteral("e-mail"), QStringLiteral("Возраст"), QStringLiteral("Работа"),
                                QStringLiteral("Домашний адрес")});
    ListView1->viewport()->installEventFilter(this);
    Command1 = named(new QPushButton(QStringLiteral("Добавить"), this), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Изменить"), this), "Command2");
    Command3 = named(new QPushButton(QStringLiteral("Удалить"), this), "Command3");
    Command2->setEnabled(false);
    Command3->setEnabled(false);

    auto *search = new QGridLayout;
    search->addWidget(Label1, 0, 0, 1, 3);
    search->addWidget(Text1, 1, 0, 1, 2);
    search->addWidget(Command4, 1, 2);
    search->addWidget(Option1, 2, 0);
    search->addWidget(Option2, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(ListView1, 1);
    layout->addLayout(buttons);
    resize(720, 420);

    connect(Command1, &QPushButton::clicked, this, &Form37::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form37::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form37::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form37::Command4_Click);
    connect(&m_book, &ContactBook::changed, this, &Form37::refill);

    TextFile::ensureFolder(ContactBook::FolderPath);
    refill();
}

void Form37::refill()
{
    ListView1->clear();
    for (const ContactEntry &entry : ContactBook::entries()) {
        auto *row = new QTreeWidgetItem(ListView1, entry.contact.fields());
        row->setData(0, LineRole, entry.line);
    }
}

bool Form37::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonRelease)
        ListView1_Click();
    return QWidget::eventFilter(watched, event);
}

void Form37::ListView1_Click()
{
    const QTreeWidgetItem *first = ListView1->topLevelItem(0);
    const bool enable = first && !first->text(0).isEmpty();
    Command2->setEnabled(enable);
    Command3->setEnabled(enable);
}

std::optional<ContactEntry> Form37::selectedEntry() const
{
    const QList<QTreeWidgetItem *> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    QTreeWidgetItem *row = selected.first();
    QStringList fields;
    for (int column = 0; column < Contact::FieldCount; ++column)
        fields.append(row->text(column));
    return ContactEntry{row->data(0, LineRole).toInt(), Contact::fromFields(fields)};
}

void Form37::Command1_Click()
{
    if (auto *entry = m_windows.show<Form38>(QStringLiteral("Form38")))
        entry->startAdding();
}

void Form37::Command2_Click()
{
    if (const std::optional<ContactEntry> entry = selectedEntry())
        openEntryWindow(*entry);
}

void Form37::openEntryWindow(const ContactEntry &entry)
{
    if (auto *window = m_windows.show<Form38>(QStringLiteral("Form38")))
        window->startChanging(entry);
}

void Form37::Command3_Click()
{
    if (const std::optional<ContactEntry> entry = selectedEntry())
        removeEntry(*entry);
}

void Form37::removeEntry(const ContactEntry &entry)
{
    const ContactBook::Result result = m_book.remove(entry.line, entry.contact);
    if (result == ContactBook::Result::WriteFailed)
        refill();
    if (ListView1->topLevelItemCount() == 0) {
        Command2->setEnabled(false);
        Command3->setEnabled(false);
    }
}

void Form37::Command4_Click()
{
    const ContactBook::Key key = Option1->isChecked() ? ContactBook::Key::Fio : ContactBook::Key::Uin;
    const QString text = Text1->text();
    int after = 0;
    while (const std::optional<ContactEntry> hit = ContactBook::find(text, key, after)) {
        const QString answer = Dialogs::instance().input(SearchTitle, SearchPrompt, QStringLiteral("3"));
        // Cancel ends the search.
        if (answer.isEmpty())
            return;
        const std::optional<double> choice = VbValues::toNumber(answer);
        if (choice && *choice == 1) {
            openEntryWindow(*hit);
            return;
        }
        if (choice && *choice == 2) {
            removeEntry(*hit);
            return;
        }
        after = hit->line;
    }
    if (TextFile::readAll(ContactBook::FilePath).isEmpty())
        return;
    Dialogs::instance().message(SearchTitle, NothingMore, Dialogs::Icon::Information);
}

// --- Form38 ------------------------------------------------------------------------------

Form38::Form38(ContactBook &book, QWidget *parent)
    : QWidget(parent)
    , m_book(book)
{
    setWindowTitle(QStringLiteral("Добалвение контакта"));
    Label1 = named(new QLabel(QStringLiteral("ФИО          :"), this), "Label1");
    Label2 = named(new QLabel(QStringLiteral("ICQ номер  :"), this), "Label2");
    Label3 = named(new QLabel(QStringLiteral("Телефон    :"), this), "Label3");
    Label4 = named(new QLabel(QStringLiteral("e-mail         :"), this), "Label4");
    Label7 = named(new QLabel(QStringLiteral("Возраст     :"), this), "Label7");
    Label6 = named(new QLabel(QStringLiteral("Работа       :"), this), "Label6");
    Label5 = named(new QLabel(QStringLiteral("Дом. адрес:"), this), "Label5");
    Text1 = named(new QLineEdit(this), "Text1");
    Text2 = named(new QLineEdit(this), "Text2");
    Text3 = named(new QLineEdit(this), "Text3");
    Text4 = named(new QLineEdit(this), "Text4");
    Text5 = named(new QLineEdit(this), "Text5");
    Text6 = named(new QLineEdit(this), "Text6");
    Text7 = named(new QLineEdit(this), "Text7");
    Label8 = named(new QLabel(QStringLiteral("Label8"), this), "Label8");
    Label8->hide();
    Command1 = named(new QPushButton(AddCaption, this), "Command1");

    auto *grid = new QGridLayout(this);
    const QList<QPair<QLabel *, QLineEdit *>> rows = {{Label1, Text1}, {Label2, Text2}, {Label3, Text3},
                                                      {Label4, Text4}, {Label7, Text5}, {Label6, Text6},
                                                      {Label5, Text7}};
    for (int row = 0; row < rows.size(); ++row) {
        grid->addWidget(rows.at(row).first, row, 0);
        grid->addWidget(rows.at(row).second, row, 1);
    }
    grid->addWidget(Command1, int(rows.size()), 0, 1, 2);

    connect(Command1, &QPushButton::clicked, this, &Form38::Command1_Click);
}

Contact Form38::boxes() const
{
    return {Text1->text(), Text2->text(), Text3->text(), Text4->text(),
            Text5->text(), Text6->text(), Text7->text()};
}

void Form38::setBoxes(const Contact &contact)
{
    Text1->setText(contact.fio);
    Text2->setText(contact.uin);
    Text3->setText(contact.phone);
    Text4->setText(contact.email);
    Text5->setText(contact.age);
    Text6->setText(contact.work);
    Text7->setText(contact.address);
}

void Form38::startAdding()
{
    setBoxes(Contact());
    Text1->setEnabled(true);
    Label8->setText(QStringLiteral("Label8"));
    m_original = Contact();
    Command1->setText(AddCaption);
}

void Form38::startChanging(const ContactEntry &entry)
{
    Label8->setText(QString::number(entry.line));
    Text1->setEnabled(false);
    setBoxes(entry.contact);
    m_original = entry.contact;
    Command1->setText(ChangeCaption);
}

void Form38::Command1_Click()
{
    const Contact contact = boxes();
    ContactBook::Result result = ContactBook::Result::Moved;
    if (Command1->text() == AddCaption) {
        result = m_book.add(contact);
    } else {
        bool ok = false;
        const int line = Label8->text().toInt(&ok);
        if (ok)
            result = m_book.change(line, m_original, contact);
        // A second save rewrites the same line again.
        if (result == ContactBook::Result::Done)
            m_original = contact;
    }
    // Every save that wrote nothing says why; the boxes keep the edit.
    switch (result) {
    case ContactBook::Result::Done:
        break;
    case ContactBook::Result::Duplicate:
        Dialogs::instance().message(DuplicateTitle, Duplicate, Dialogs::Icon::Information);
        break;
    case ContactBook::Result::InvalidField:
        Dialogs::instance().message(DuplicateTitle, InvalidField, Dialogs::Icon::Information);
        break;
    case ContactBook::Result::Moved:
        Dialogs::instance().message(DuplicateTitle, Moved, Dialogs::Icon::Warning);
        break;
    case ContactBook::Result::WriteFailed:
        Dialogs::instance().message(DuplicateTitle, NotWritten, Dialogs::Icon::Warning);
        break;
    }
}
