#include "settings/autologin_page.h"

#include "platform/passwordfield.h"
#include "settings/pagecontrols.h"
#include "settings/pagemessages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace PageControls;

nast_a_v::nast_a_v(QWidget *parent)
    : LogicPage(parent)
{
    Shape1 = shape("Shape1", this);
    Label1 = title("Label1", Title, Shape1);
    Line1 = line("Line1", Shape1);
    Label2 = label("Label2",
                   QStringLiteral("Эта функция автоматически подключит вас к серверу (который вы выбрали в "
                                  "качестве основоного) при запуске программы."),
                   Shape1);
    Check1 = checkBox("Check1", QStringLiteral("Включить функцию \"Автовход\""), Shape1);
    Label3 = label("Label3", QStringLiteral("Номер   :"), Shape1);
    Text1 = textBox("Text1", Shape1);
    Label4 = label("Label4", QStringLiteral("Пароль  :"), Shape1);
    Text2 = textBox("Text2", Shape1);
    maskWithAsterisks(Text2);
    Line2 = line("Line2", Shape1);
    Command1 = button("Command1", QStringLiteral("Применить"), Shape1);

    auto *login = new QGridLayout;
    login->addWidget(Label3, 0, 0);
    login->addWidget(Text1, 0, 1);
    login->addWidget(Label4, 1, 0);
    login->addWidget(Text2, 1, 1);
    login->setColumnStretch(1, 1);
    QVBoxLayout *inner = startColumn(Shape1, Label1, Line1);
    inner->addWidget(Label2);
    inner->addWidget(Check1);
    inner->addLayout(login);
    finishColumn(this, Shape1, inner, Line2, Command1);

    refresh();
    follow({Check1});
    follow({Text1, Text2});
    connect(Command1, &QPushButton::clicked, this, &nast_a_v::Command1_Click);
}

void nast_a_v::Command1_Click()
{
    apply();
}

void nast_a_v::showValues(const Values &values)
{
    Check1->setChecked(values.autoEnter);
    Text1->setText(values.number);
    Text2->setText(values.password);
}

void nast_a_v::takeValues(Values &values) const
{
    values.autoEnter = Check1->isChecked();
    values.number = Text1->text();
    values.password = Text2->text();
}
