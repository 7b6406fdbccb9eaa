#include "settings/sounds_page.h"

#include "platform/dialogs.h"
#include "settings/pagecontrols.h"
#include "settings/pagemessages.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace PageControls;

nast_b_v::nast_b_v(QWidget *parent)
    : LogicPage(parent)
{
    Shape1 = shape("Shape1", this);
    Label1 = title("Label1", Title, Shape1);
    Line1 = line("Line1", Shape1);
    Label2 = label("Label2", QStringLiteral("Здесь вы можете включить или выключить звуки в программе"), Shape1);
    Check1 = checkBox("Check1", QStringLiteral("Выключать звуки"), Shape1);
    Label4 = label("Label4", QStringLiteral("Звук об оповещении принятого сообщения"), Shape1);
    Text1 = textBox("Text1", Shape1);
    Command1 = button("Command1", QStringLiteral("..."), Shape1);
    Label3 = label("Label3", QStringLiteral("Звук загрузки программы"), Shape1);
    Text2 = textBox("Text2", Shape1);
    Command2 = button("Command2", QStringLiteral("..."), Shape1);
    Line2 = line("Line2", Shape1);
    Command3 = button("Command3", QStringLiteral("Применить"), Shape1);

    auto *files = new QGridLayout;
    files->addWidget(Label4, 0, 0);
    files->addWidget(Text1, 0, 1);
    files->addWidget(Command1, 0, 2);
    files->addWidget(Label3, 1, 0);
    files->addWidget(Text2, 1, 1);
    files->addWidget(Command2, 1, 2);
    files->setColumnStretch(1, 1);
    QVBoxLayout *inner = startColumn(Shape1, Label1, Line1);
    inner->addWidget(Label2);
    inner->addWidget(Check1);
    inner->addLayout(files);
    finishColumn(this, Shape1, inner, Line2, Command3);

    refresh();
    follow({Check1});
    follow({Text1, Text2});
    connect(Command1, &QPushButton::clicked, this, &nast_b_v::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &nast_b_v::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &nast_b_v::Command3_Click);
}

void nast_b_v::Command1_Click()
{
    browse(Text1);
}

void nast_b_v::Command2_Click()
{
    browse(Text2);
}

void nast_b_v::Command3_Click()
{
    apply();
}

void nast_b_v::browse(QLineEdit *box)
{
    // The dialog starts where the row's file is; a cancelled dialog leaves the box.
    const QString folder = box->text().isEmpty() ? QString() : QFileInfo(box->text()).absolutePath();
    const QString chosen = Dialogs::instance().openFile(QString(), folder, SoundSettings::Filter);
    if (!chosen.isEmpty())
        box->setText(QFileInfo(chosen).absoluteFilePath());
}

void nast_b_v::showValues(const Values &values)
{
    Check1->setChecked(values.soundsOff);
    Text1->setText(values.messageSound);
    Text2->setText(values.startupSound);
}

void nast_b_v::takeValues(Values &values) const
{
    values.soundsOff = Check1->isChecked();
    values.messageSound = Text1->text();
    values.startupSound = Text2->text();
}
