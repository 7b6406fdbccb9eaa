#include "recordwindows/visiblelist_window.h"

#include "platform/dialogs.h"
#include "platform/windowkit.h"
#include "records/visiblelist.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using WindowKit::named;

Form25::Form25(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Настройки видимого списка"));
    Label1 = named(new QLabel(QStringLiteral("Список видимых пользователей"), this), "Label1");
    List1 = named(new QListWidget(this), "List1");
    Command1 = named(new QPushButton(QStringLiteral("Добавить"), this), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Удалить"), this), "Command2");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(List1);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &Form25::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form25::Command2_Click);
    refill();
}

void Form25::refill()
{
    List1->clear();
    List1->addItems(VisibleList::load());
}

void Form25::Command1_Click()
{
    const QString entry = Dialogs::instance().input(InputTitle, InputPrompt);
    switch (VisibleList::add(entry)) {
    case VisibleList::AddResult::Added:
        List1->addItem(entry);
        break;
    case VisibleList::AddResult::Duplicate:
        Dialogs::instance().message(DuplicateTitle, Duplicate, Dialogs::Icon::Information);
        break;
    case VisibleList::AddResult::Empty:
    case VisibleList::AddResult::WriteFailed:
        break;
    }
}

void Form25::Command2_Click()
{
    const QListWidgetItem *selected = List1->currentItem();
    const QString entry = selected && selected->isSelected() ? selected->text() : QString();
    VisibleList::remove(entry);
    refill();
}
