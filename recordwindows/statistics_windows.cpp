#include "recordwindows/statistics_windows.h"

#include "core/clock.h"
#include "core/datetexts.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"
#include "records/datepicker.h"
#include "records/statisticsrecords.h"
#include "recordwindows/calendar_window.h"
#include "recordwindows/day_chart.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using WindowKit::named;

namespace {

QString today()
{
    return DateTexts::dateText(Clock::instance().today());
}

QString toEditor(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown.endsWith(QLatin1Char('\n')))
        shown.chop(1);
    return shown;
}

} // namespace

// --- Form16 ----------------------------------------------------------------------------

Form16::Form16(DatePicker &picker, WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_picker(picker)
    , m_windows(windows)
{
    Label7 = named(new QLabel(QStringLiteral("Открыть статистику за:"), this), "Label7");
    Text1 = named(new QLineEdit(this), "Text1");
    Command1 = named(new QPushButton(QStringLiteral("Открыть"), this), "Command1");
    Label1 = named(new QLabel(QStringLiteral("Общая информация:"), this), "Label1");
    Label2 = named(new QLabel(QStringLiteral("Обращений к боту :"), this), "Label2");
    Label5 = named(new QLabel(this), "Label5");
    Label3 = named(new QLabel(QStringLiteral("Хинты                   :"), this), "Label3");
    Label6 = named(new QLabel(this), "Label6");
    Label4 = named(new QLabel(QStringLiteral("Хинты - какое кол-во различных ICQ-номеров обратилось к боту."), this),
                   "Label4");
    Label4->setWordWrap(true);
    Label8 = named(new QLabel(QStringLiteral("Выберите ICQ-номер:"), this), "Label8");
    List1 = named(new QListWidget(this), "List1");
    Label11 = named(new QLabel(QStringLiteral("Просмотреть сообщения за :"), this), "Label11");
    Text2 = named(new QLineEdit(this), "Text2");
    Command3 = named(new QPushButton(QStringLiteral("Выбрать дату"), this), "Command3");
    Command2 = named(new QPushButton(QStringLiteral("Просмотреть сообщения"), this), "Command2");
    Command2->setEnabled(false);
    Chart1 = named(new DayChart(this), "Chart1");

    auto *open = new QHBoxLayout;
    open->addWidget(Label7);
    open->addWidget(Text1, 1);
    open->addWidget(Command1);
    auto *numbers = new QGridLayout;
    numbers->addWidget(Label1, 0, 0, 1, 2);
    numbers->addWidget(Label2, 1, 0);
    numbers->addWidget(Label5, 1, 1);
    numbers->addWidget(Label3, 2, 0);
    numbers->addWidget(Label6, 2, 1);
    numbers->addWidget(Label4, 3, 0, 1, 2);
    numbers->setColumnStretch(1, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(numbers, 1);
    top->addWidget(Chart1, 2);
    auto *messages = new QHBoxLayout;
    messages->addWidget(Label11);
    messages->addWidget(Text2, 1);
    messages->addWidget(Command3);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(open);
    layout->addLayout(top);
    layout->addWidget(Label8);
    layout->addWidget(List1, 1);
    layout->addLayout(messages);
    layout->addWidget(Command2);

    connect(Command1, &QPushButton::clicked, this, &Form16::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form16::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form16::Command3_Click);
    connect(List1, &QListWidget::itemSelectionChanged, this,
            [this] { Command2->setEnabled(!List1->selectedItems().isEmpty()); });

    showDay(today());
    Text1->setText(DateTexts::dateText(Clock::instance().today().addDays(-1)));
    Text2->setText(today());
}

void Form16::showDay(const QString &dateText)
{
    m_shownDay = dateText;
    setWindowTitle(QStringLiteral("Статистика за : ") + dateText);
    Label5->setText(StatisticsRecords::requestCount(dateText));
    List1->clear();
    const QStringList numbers = StatisticsRecords::numbers(dateText);
    List1->addItems(numbers);
    Label6->setText(QString::number(numbers.size()));
    Command2->setEnabled(false);
    if (const std::optional<QDate> day = DateTexts::parseDate(dateText))
        Chart1->setDays(StatisticsRecords::requestsPerDay(day->addDays(1 - ChartDays), *day));
    else
        Chart1->setDays({});
}

void Form16::setPickedDate(const QString &dateText)
{
    Text2->setText(dateText);
}

void Form16::Command1_Click()
{
    const QString day = Text1->text();
    if (day.size() != 10) {
        List1->clear();
        Command2->setEnabled(false);
        return;
    }
    Text2->setText(day);
    showDay(day);
    Text1->setText(today());
}

void Form16::Command2_Click()
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    if (selected.isEmpty())
        return;
    const QString uin = selected.first()->text();
    const QString date = Text2->text();
    if (Form17 *messages = m_windows.show<Form17>(QStringLiteral("Form17")))
        messages->openMessages(uin, date);
}

void Form16::Command3_Click()
{
    m_picker.request(DatePicker::Requester::Statistics);
    m_windows.show<Form30>(QStringLiteral("Form30"));
}

// --- Form17 ----------------------------------------------------------------------------

Form17::Form17(DatePicker &picker, WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_picker(picker)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Статистика UIN за Date"));
    Label1 = named(new QLabel(QStringLiteral("Просмотреть сообщения за:"), this), "Label1");
    Text2 = named(new QLineEdit(this), "Text2");
    Command2 = named(new QPushButton(QStringLiteral("Выбрать дату"), this), "Command2");
    Label2 = named(new QLabel(QStringLiteral("Если хотите точный результат по времени, укажите время :"), this),
                   "Label2");
    Text3 = named(new QLineEdit(this), "Text3");
    Command1 = named(new QPushButton(QStringLiteral("Поиск"), this), "Command1");
    Text1 = named(new QPlainTextEdit(this), "Text1");
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Chart1 = named(new DayChart(this), "Chart1");

    auto *date = new QHBoxLayout;
    date->addWidget(Label1);
    date->addWidget(Text2, 1);
    date->addWidget(Command2);
    auto *time = new QHBoxLayout;
    time->addWidget(Label2);
    time->addWidget(Text3, 1);
    time->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(date);
    layout->addLayout(time);
    layout->addWidget(Text1, 2);
    layout->addWidget(Chart1, 1);

    connect(Command1, &QPushButton::clicked, this, &Form17::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form17::Command2_Click);
}

void Form17::openMessages(const QString &uin, const QString &dateText)
{
    m_uin = uin;
    setWindowTitle(QStringLiteral("Статистика ") + uin + QStringLiteral(" за ") + dateText);
    Text1->setPlainText(toEditor(StatisticsRecords::messagesText(dateText, uin)));
    updateChart(dateText);
}

void Form17::setPickedDate(const QString &dateText)
{
    Text2->setText(dateText);
}

void Form17::updateChart(const QString &dateText)
{
    if (const std::optional<QDate> day = DateTexts::parseDate(dateText))
        Chart1->setDays(StatisticsRecords::messagesPerDay(m_uin, day->addDays(1 - Form16::ChartDays), *day));
}

void Form17::Command1_Click()
{
    Text1->clear();
    const QStringList lines = StatisticsRecords::filterMessages(Text2->text(), m_uin, Text3->text());
    Text1->setPlainText(lines.join(QLatin1Char('\n')));
    updateChart(Text2->text());
}

void Form17::Command2_Click()
{
    m_picker.request(DatePicker::Requester::NumberStatistics);
    m_windows.show<Form30>(QStringLiteral("Form30"));
}
