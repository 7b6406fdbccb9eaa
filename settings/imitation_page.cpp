#include "settings/imitation_page.h"

#include "settings/pagecontrols.h"
#include "settings/pagemessages.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace PageControls;

nast_d_v::nast_d_v(QWidget *parent)
    : LogicPage(parent)
{
    Shape1 = shape("Shape1", this);
    Label1 = title("Label1", Title, Shape1);
    Line1 = line("Line1", Shape1);
    Label2 = label("Label2", QStringLiteral("Старается имитировать человека."), Shape1);
    Shape2 = shape("Shape2", Shape1);
    Check1 = checkBox("Check1", QStringLiteral("Включить задержку"), Shape2);
    Label4 = label("Label4", QStringLiteral("Введите задержку в микросекундах."), Shape2);
    Text1 = textBox("Text1", Shape2);
    Label5 = label("Label5", QStringLiteral("мс."), Shape2);
    Line2 = line("Line2", Shape1);
    Command1 = button("Command1", QStringLiteral("Применить"), Shape1);

    auto *time = new QHBoxLayout;
    time->addWidget(Text1);
    time->addWidget(Label5);
    time->addStretch();
    auto *boxes = new QVBoxLayout(Shape2);
    boxes->addWidget(Check1);
    boxes->addWidget(Label4);
    boxes->addLayout(time);
    QVBoxLayout *inner = startColumn(Shape1, Label1, Line1);
    inner->addWidget(Label2);
    inner->addWidget(Shape2);
    finishColumn(this, Shape1, inner, Line2, Command1);

    refresh();
    follow({Check1});
    follow({Text1});
    connect(Command1, &QPushButton::clicked, this, &nast_d_v::Command1_Click);
}

void nast_d_v::Command1_Click()
{
    apply();
}

void nast_d_v::showValues(const Values &values)
{
    Check1->setChecked(values.on);
    Text1->setText(values.time);
}

void nast_d_v::takeValues(Values &values) const
{
    values.on = Check1->isChecked();
    values.time = Text1->text();
}
