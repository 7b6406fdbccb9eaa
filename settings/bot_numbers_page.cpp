#include "settings/bot_numbers_page.h"

#include "platform/dialogs.h"
#include "settings/pagecontrols.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace PageControls;

UserControl5::UserControl5(QWidget *parent)
    : SettingsPage(parent)
{
    Shape1 = shape("Shape1", this);

    Label1 = title("Label1", QStringLiteral("Распределение"), Shape1);

    Line1 = line("Line1", Shape1);

    Label2 = label("Label2",
                   QStringLiteral("Введите ICQ номера на которые сервер будет переводить пользователей. "
                                  "Эта функция сделана для разгрузки сервера и его зависания."),
                   Shape1);

    List1 = new QListWidget(Shape1);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    Command2 = button("Command2", QStringLiteral("Добавить"), Shape1);
    Command3 = button("Command3", QStringLiteral("Удалить"), Shape1);
    Command1 = button("Command1", QStringLiteral("Применить"), Shape1);

    Line2 = line("Line2", Shape1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    buttons->addStretch();
    buttons->addWidget(Command1);

    QVBoxLayout *inner = startColumn(Shape1, Label1, Line1);
    inner->addWidget(Label2);
    inner->addWidget(List1, 1);
    inner->addWidget(Line2);
    inner->addLayout(buttons);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(Shape1);

    connect(&m_numbers, &BotNumbers::rowsChanged, this, &UserControl5::showRows);
    connect(&m_numbers, &BotNumbers::rowsChanged, this, &SettingsPage::changed);
    connect(List1, &QListWidget::itemSelectionChanged, this, &UserControl5::followSelection);
    connect(Command2, &QPushButton::clicked, this, &UserControl5::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &UserControl5::Command3_Click);
    connect(Command1, &QPushButton::clicked, this, &UserControl5::Command1_Click);

    showRows();
}

void UserControl5::load()
{
    m_numbers.load();
}

SettingsPage::SaveResult UserControl5::save()
{
    const BotNumbers::SaveResult saved = m_numbers.save();
    switch (saved.outcome) {
    case BotNumbers::SaveOutcome::Saved:
        break;
    case BotNumbers::SaveOutcome::EmptyList:
        return SaveResult::refused(ErrorTitle, EmptyListText);
    case BotNumbers::SaveOutcome::WriteFailed:
        return SaveResult::failed(ErrorTitle, WriteFailedText.arg(saved.error));
    }
    return SaveResult::saved(SavedTitle, SavedText);
}

void UserControl5::defaults()
{
    m_numbers.defaults();
}

bool UserControl5::hasChanged() const
{
    return m_numbers.hasChanged();
}

void UserControl5::Command2_Click()
{
    // Both boxes are asked, as the operator expects the pair. A refused pair is passed
    // over without a word, as the page always did; the outcome is still there for tests.
    const QString number = Dialogs::instance().input(NumberTitle, NumberPrompt);
    const QString password = Dialogs::instance().input(PasswordTitle, PasswordPrompt);
    m_lastAdd = m_numbers.add(number, password);
}

void UserControl5::Command3_Click()
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    if (selected.isEmpty())
        return;
    m_numbers.remove(List1->row(selected.constFirst()));
}

void UserControl5::Command1_Click()
{
    apply();
}

void UserControl5::showRows()
{
    List1->clear();
    List1->addItems(m_numbers.rowTexts());
    followSelection();
}

void UserControl5::followSelection()
{
    Command3->setEnabled(!List1->selectedItems().isEmpty());
}
