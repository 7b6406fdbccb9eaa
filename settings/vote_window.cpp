#include "settings/vote_window.h"

#include "platform/dialogs.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"
#include "settings/featureboxes.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

Form39::Form39(WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Голосования"));
    Shape1 = WindowKit::named(new QFrame(this), "Shape1");
    Shape1->setFrameShape(QFrame::StyledPanel);
    Shape2 = WindowKit::named(new QFrame(this), "Shape2");
    Shape2->setFrameShape(QFrame::StyledPanel);
    Line1 = WindowKit::named(new QFrame(this), "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Label1 = WindowKit::named(new QLabel(QStringLiteral("Вопрос (предложение и т.д.):"), Shape1), "Label1");
    Text1 = WindowKit::named(new QLineEdit(Shape1), "Text1");
    Label2 = WindowKit::named(new QLabel(QStringLiteral("Варианты ответов:"), Shape2), "Label2");
    List1 = WindowKit::named(new QListWidget(Shape2), "List1");
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    Command1 = WindowKit::named(new QPushButton(QStringLiteral("Добавить"), Shape2), "Command1");
    Command2 = WindowKit::named(new QPushButton(QStringLiteral("Удалить"), Shape2), "Command2");
    Command3 = WindowKit::named(new QPushButton(QStringLiteral("Применить"), this), "Command3");
    Command4 = WindowKit::named(new QPushButton(QStringLiteral("Результаты"), this), "Command4");
    Command5 = WindowKit::named(new QPushButton(QStringLiteral("Закончить голосвание"), this), "Command5");

    auto *questionLayout = new QVBoxLayout(Shape1);
    questionLayout->addWidget(Label1);
    questionLayout->addWidget(Text1);
    auto *optionsLayout = new QGridLayout(Shape2);
    optionsLayout->addWidget(Label2, 0, 0, 1, 2);
    optionsLayout->addWidget(List1, 1, 0, 3, 1);
    optionsLayout->addWidget(Command1, 1, 1);
    optionsLayout->addWidget(Command2, 2, 1);
    optionsLayout->setRowStretch(3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command3);
    buttons->addWidget(Command4);
    buttons->addWidget(Command5);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Shape1);
    layout->addWidget(Shape2, 1);
    layout->addWidget(Line1);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &Form39::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form39::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form39::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form39::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form39::Command5_Click);
    Form_Load();
}

void Form39::Form_Load()
{
    m_setup.load();
    showRunning(m_setup.running);
    if (!m_setup.running)
        return;
    Text1->setText(m_setup.question);
    List1->addItems(m_setup.options);
}

void Form39::showRunning(bool running)
{
    Command1->setEnabled(!running);
    Command2->setEnabled(!running);
    Command3->setEnabled(!running);
    Command4->setEnabled(running);
    Command5->setEnabled(running);
}

QStringList Form39::options() const
{
    QStringList result;
    for (int row = 0; row < List1->count(); ++row)
        result.append(List1->item(row)->text());
    return result;
}

void Form39::Command1_Click()
{
    // An empty answer, a cancelled box's too, is an option like any other.
    List1->addItem(Dialogs::instance().input(QStringLiteral("Вариант ответа"),
                                             QStringLiteral("Введите новый вариант ответа")));
}

void Form39::Command2_Click()
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    if (selected.isEmpty())
        return;
    delete List1->takeItem(List1->row(selected.first()));
}

void Form39::Command3_Click()
{
    m_setup.question = Text1->text();
    m_setup.options = options();
    const VoteSetup::Result applied = m_setup.apply();
    if (applied.outcome == VoteSetup::Outcome::Unstorable) {
        FeatureBoxes::showError(SeparatorRefusal);
        return;
    }
    if (applied.outcome == VoteSetup::Outcome::WriteFailed) {
        FeatureBoxes::showWriteFailure(applied.error);
        return;
    }
    showRunning(true);
}

void Form39::Command4_Click()
{
    const QString text = VoteSetup::resultsText();
    if (auto *results = m_windows.show<Form40>(QStringLiteral("Form40")))
        results->setText(text);
}

void Form39::Command5_Click()
{
    const Dialogs::Button answer = Dialogs::instance().message(
        QStringLiteral("Удаление резульатов"),
        QStringLiteral("Вы хотите закончить голосвание? Это приведёт к полному удалению всех настроек и "
                       "результатов, Вы подтверждаете удаление?"),
        Dialogs::Icon::Information, Dialogs::Buttons::YesNo);
    if (answer != Dialogs::Button::Yes)
        return;
    m_setup.end();
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    List1->clear();
    Text1->clear();
}

Form40::Form40(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Результаты голосваний"));
    Text1 = WindowKit::named(new QPlainTextEdit(this), "Text1");
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
}

void Form40::setText(const QString &text)
{
    FeatureBoxes::setBoxText(Text1, text);
}

QString Form40::text() const
{
    return FeatureBoxes::boxText(Text1);
}
