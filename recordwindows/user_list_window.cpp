#include "recordwindows/user_list_window.h"

#include "core/clock.h"
#include "core/datetexts.h"
#include "engine/answerengine.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"
#include "records/statisticsrecords.h"
#include "recordwindows/send_message_window.h"
#include "recordwindows/statistics_windows.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using WindowKit::named;

Form28::Form28(AnswerEngine &engine, WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Список пользователей"));
    List1 = named(new QListWidget(this), "List1");
    Line1 = named(new QFrame(this), "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Command1 = named(new QPushButton(QStringLiteral("Просмотреть историю"), this), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Написать сообщение"), this), "Command2");

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(List1, 1);
    layout->addWidget(Line1);
    layout->addLayout(buttons);

    connect(List1, &QListWidget::itemSelectionChanged, this, &Form28::updateButtons);
    connect(Command1, &QPushButton::clicked, this, &Form28::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form28::Command2_Click);
    // While the window is open every new number shows at once.
    connect(&engine, &AnswerEngine::userListChanged, this, &Form28::refill);

    refill();
}

void Form28::refill()
{
    const QString selected = selectedNumber();
    List1->clear();
    List1->addItems(StatisticsRecords::usersSinceStart());
    if (!selected.isEmpty()) {
        const QList<QListWidgetItem *> same = List1->findItems(selected, Qt::MatchExactly);
        if (!same.isEmpty())
            List1->setCurrentItem(same.first());
    }
    updateButtons();
}

QString Form28::selectedNumber() const
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void Form28::updateButtons()
{
    const bool chosen = !selectedNumber().isEmpty();
    Command1->setEnabled(chosen);
    Command2->setEnabled(chosen);
}

void Form28::Command1_Click()
{
    const QString uin = selectedNumber();
    if (uin.isEmpty())
        return;
    if (Form17 *messages = m_windows.show<Form17>(QStringLiteral("Form17")))
        messages->openMessages(uin, DateTexts::dateText(Clock::instance().today()));
}

void Form28::Command2_Click()
{
    const QString uin = selectedNumber();
    if (uin.isEmpty())
        return;
    if (Form2 *message = m_windows.show<Form2>(QStringLiteral("Form2")))
        message->setRecipient(uin);
}
