#include "settings/connection_page.h"

#include "settings/pagecontrols.h"
#include "settings/pagemessages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace PageControls;

nast_v::nast_v(QWidget *parent)
    : LogicPage(parent)
{
    Shape1 = shape("Shape1", this);
    Label1 = title("Label1", Title, Shape1);
    Line1 = line("Line1", Shape1);
    Label3 = label("Label3", QStringLiteral("Выберите основной сервер и порт подключения"), Shape1);
    Label4 = label("Label4", QStringLiteral("Сервер :"), Shape1);
    Combo1 = new QComboBox(Shape1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->addItems(ConnectionSettings::Servers);
    // The prompt is shown in the empty box, never taken as a server.
    Combo1->lineEdit()->setPlaceholderText(ServerPrompt);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
    Label5 = label("Label5", QStringLiteral("Порт    :"), Shape1);
    Text2 = textBox("Text2", Shape1);
    Check5 = checkBox("Check5", QStringLiteral("Переподключаться при потере связи"), Shape1);
    Label2 = label("Label2", QStringLiteral("Интервал между подключениями"), Shape1);
    Text1 = textBox("Text1", Shape1);
    Label6 = label("Label6", QStringLiteral("мин"), Shape1);
    Check1 = checkBox("Check1", QStringLiteral("Включать вместе с Windows"), Shape1);
    Check2 = checkBox("Check2", QStringLiteral("Проверять обновления при запуске программы"), Shape1);
    Check4 = checkBox("Check4", QStringLiteral("Прятать программу в трей, при загрузке."), Shape1);
    Line2 = line("Line2", Shape1);
    Command1 = button("Command1", QStringLiteral("Применить"), Shape1);

    auto *server = new QGridLayout;
    server->addWidget(Label4, 0, 0);
    server->addWidget(Combo1, 0, 1);
    server->addWidget(Label5, 1, 0);
    server->addWidget(Text2, 1, 1);
    server->setColumnStretch(1, 1);
    auto *interval = new QHBoxLayout;
    interval->addWidget(Label2);
    interval->addWidget(Text1);
    interval->addWidget(Label6);
    interval->addStretch();
    QVBoxLayout *inner = startColumn(Shape1, Label1, Line1);
    inner->addWidget(Label3);
    inner->addLayout(server);
    inner->addWidget(Check5);
    inner->addLayout(interval);
    inner->addWidget(Check1);
    inner->addWidget(Check2);
    inner->addWidget(Check4);
    finishColumn(this, Shape1, inner, Line2, Command1);

    refresh();
    follow(Combo1);
    follow({Text1, Text2});
    follow({Check1, Check2, Check4, Check5});
    connect(Command1, &QPushButton::clicked, this, &nast_v::Command1_Click);
}

void nast_v::Command1_Click()
{
    apply();
}

void nast_v::afterSave()
{
    refresh();
}

void nast_v::showValues(const Values &values)
{
    Combo1->setEditText(values.server);
    Text2->setText(values.port);
    Check1->setChecked(values.autoRun);
    Check2->setChecked(values.autoUpdate);
    Check4->setChecked(values.hideTray);
    Check5->setChecked(values.reconnect);
    Text1->setText(values.interval);
}

void nast_v::takeValues(Values &values) const
{
    values.server = Combo1->currentText();
    values.port = Text2->text();
    values.autoRun = Check1->isChecked();
    values.autoUpdate = Check2->isChecked();
    values.hideTray = Check4->isChecked();
    values.reconnect = Check5->isChecked();
    values.interval = Text1->text();
}
