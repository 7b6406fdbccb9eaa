#include "chatwindows/chat_side_windows.h"

#include "chat/automessagesedit.h"
#include "chat/chatfiles.h"
#include "chat/chatoptionsedit.h"
#include "chat/chatrecords.h"
#include "chat/chatservice.h"
#include "core/clock.h"
#include "core/namedtimer.h"
#include "platform/dialogs.h"
#include "platform/windowkit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using WindowKit::named;

// --- Form42 ------------------------------------------------------------------------------

Form42::Form42(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Допополнительные настройки чата"));
    const auto box = [this](const QString &caption, const char *name) {
        return named(new QCheckBox(caption, this), name);
    };
    Check1 = box(QStringLiteral("Выводить дату"), "Check1");
    Check2 = box(QStringLiteral("Выводить время"), "Check2");
    Check3 = box(QStringLiteral("Выводить ICQ-номер написавшего"), "Check3");
    Check4 = box(QStringLiteral("Выводить ник"), "Check4");
    Check5 = box(QStringLiteral("Оповещать кто зашёл/вышел в чат(а)"), "Check5");
    Check6 = box(QStringLiteral("Возможность запрашивать список пользователей"), "Check6");
    Check10 = box(QStringLiteral("Показывать ICQ-номер пользователей"), "Check10");
    Check7 = box(QStringLiteral("Возможность писать приватные сообщения"), "Check7");
    Check8 = box(QStringLiteral("Игнорировать \"свои\" сообщения"), "Check8");
    Check11 = box(QStringLiteral("Показывать историю по запросу"), "Check11");
    Check9 = box(QStringLiteral("Запоминать участников чата при выключении бота"), "Check9");
    Label3 = named(new QLabel(this), "Label3");
    Command1 = named(new QPushButton(QStringLiteral("Применить"), this), "Command1");

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(named(new QLabel(QStringLiteral("Вид сообщений в чате:"), this), "Label1"));
    for (QCheckBox *check : {Check1, Check2, Check3, Check4})
        layout->addWidget(check);
    layout->addWidget(named(new QLabel(QStringLiteral("Пример сообщения:"), this), "Label2"));
    layout->addWidget(Label3);
    layout->addWidget(named(new QLabel(QStringLiteral("Работа с пользователями:"), this), "Label4"));
    layout->addWidget(Check5);
    layout->addWidget(Check6);
    auto *indented = new QHBoxLayout;
    indented->addSpacing(20);
    indented->addWidget(Check10);
    layout->addLayout(indented);
    for (QCheckBox *check : {Check7, Check8, Check11})
        layout->addWidget(check);
    layout->addWidget(named(new QLabel(QStringLiteral("Глобальные настройки:"), this), "Label5"));
    layout->addWidget(Check9);
    layout->addWidget(Command1, 0, Qt::AlignRight);

    const QList<bool> values = ChatOptions::readAll();
    const QList<QCheckBox *> boxes = optionBoxes();
    for (int i = 0; i < boxes.size(); ++i)
        boxes.at(i)->setChecked(values.value(i));

    // The example follows the boxes at once; the timer keeps its time text current.
    for (QCheckBox *check : {Check1, Check2, Check3, Check4})
        connect(check, &QCheckBox::toggled, this, &Form42::Timer1_Timer);
    Timer1 = new NamedTimer(QStringLiteral("Timer1"), 100, this);
    Timer1->setHandler([this] { Timer1_Timer(); });
    Timer1->setEnabled(true);
    Timer1_Timer();

    connect(Command1, &QPushButton::clicked, this, &Form42::Command1_Click);
}

QList<QCheckBox *> Form42::optionBoxes() const
{
    return {Check1, Check2, Check3, Check4, Check5, Check6, Check10, Check7, Check8, Check9, Check11};
}

void Form42::Timer1_Timer()
{
    Label3->setText(ChatOptionsExample::text(Check1->isChecked(), Check2->isChecked(), Check3->isChecked(),
                                             Check4->isChecked(), Clock::instance().now()));
}

void Form42::Command1_Click()
{
    QList<bool> values;
    for (QCheckBox *check : optionBoxes())
        values.append(check->isChecked());
    if (!values.at(0) && !values.at(1) && !values.at(2) && !values.at(3)) {
        Dialogs::instance().message(QStringLiteral("Ошибка"),
                                    QStringLiteral("Должен быть хотя бы один выводимый параметр"),
                                    Dialogs::Icon::Information);
        return;
    }
    ChatOptions::write(values);
}

// --- Form43 ------------------------------------------------------------------------------

Form43::Form43(ChatService &service, QWidget *parent)
    : QWidget(parent)
    , m_service(service)
{
    setWindowTitle(QStringLiteral("Лог чата"));
    Text1 = named(new QPlainTextEdit(this), "Text1");
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Command1 = named(new QPushButton(QStringLiteral("Удалить логи"), this), "Command1");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Text1, 1);
    layout->addWidget(Command1, 0, Qt::AlignRight);
    Text1->setPlainText(ChatLog::text());
    connect(Command1, &QPushButton::clicked, this, &Form43::Command1_Click);
}

void Form43::Command1_Click()
{
    if (ChatLog::clear())
        m_service.noteLogChanged();
}

// --- Form51 ------------------------------------------------------------------------------

Form51::Form51(AutoMessagesEditor &editor, QWidget *parent)
    : QWidget(parent)
    , m_editor(editor)
{
    setWindowTitle(QStringLiteral("Добавление автосообщения"));
    Text1 = named(new QLineEdit(this), "Text1");
    Text2 = named(new QLineEdit(AutoMessages::Endless, this), "Text2");
    Text3 = named(new QLineEdit(QStringLiteral("+& - символ бесконечности"), this), "Text3");
    Text3->setReadOnly(true);
    // The hint reads whole, and the text box above it gets the same width.
    Text3->setMinimumWidth(Text3->sizeHint().width() + Text3->fontMetrics().horizontalAdvance(Text3->text()) -
                           17 * Text3->fontMetrics().horizontalAdvance(QLatin1Char('x')) + 4);
    Text4 = named(new QLineEdit(QStringLiteral("="), this), "Text4");
    Command1 = named(new QPushButton(QStringLiteral("Добавить"), this), "Command1");
    auto *grid = new QGridLayout(this);
    grid->addWidget(named(new QLabel(QStringLiteral("Введите текст:"), this), "Label1"), 0, 0);
    grid->addWidget(Text1, 0, 1);
    grid->addWidget(named(new QLabel(QStringLiteral("Введите кол-во показов:"), this), "Label2"), 1, 0);
    grid->addWidget(Text2, 1, 1);
    grid->addWidget(Text3, 2, 1);
    grid->addWidget(
        named(new QLabel(QStringLiteral("Укажите куда будет двигаться счётчик:"), this), "Label3"), 3, 0);
    grid->addWidget(Text4, 3, 1);
    auto *hint = named(
        new QLabel(QStringLiteral("> - будет прибавлять; < - будет уменьшать, = - ни чего не будет делать."),
                   this),
        "Label4");
    hint->setWordWrap(true);
    grid->addWidget(hint, 4, 0, 1, 2);
    grid->addWidget(Command1, 5, 1, Qt::AlignRight);
    connect(Command1, &QPushButton::clicked, this, &Form51::Command1_Click);
}

void Form51::Command1_Click()
{
    if (m_editor.add(Text1->text(), Text2->text(), Text4->text()) == AutoMessagesEditor::AddResult::Forbidden)
        Dialogs::instance().message(QStringLiteral("Ошибка"), AutoMessagesEditor::ForbiddenText,
                                    Dialogs::Icon::Information);
}
